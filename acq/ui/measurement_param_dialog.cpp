#include "acq/ui/measurement_param_dialog.h"

#include "acq/core/acq_string_ids.h"
#include "acq/core/app_state.h"
#include "acq/core/duct_units.h"
#include "acq/core/status_report.h"
#include "acq/ui/window_texts.h"
#include "common/core/message_presenter.h"
#include "common/core/status_codes.h"
#include "common/core/usb_discovery.h"
#include "common/ui/window_fonts.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// String IDs of the dialog (the language offset is added on lookup).
constexpr int kCaption = 2110;
constexpr int kMeasuringFrame = 2121;
constexpr int kSampleTimeCaption = 2123;
constexpr int kSampleNumCaption = 2124;
constexpr int kIntervalCaption = 2127;
constexpr int kSerialCaption = 2128;
constexpr int kVelocityFrame = 2131;
constexpr int kFlowFrame = 2141;
constexpr int kAreaFrame = 2151;
constexpr int kDuctFrame = 2161;
constexpr int kWidthCaption = 2163;
constexpr int kHeightCaption = 2164;
constexpr int kDiameterCaption = 2166;
constexpr int kMeasurementButton = 2171;

constexpr int kNoInstrumentMessage = 918;
constexpr int kChooseInstrumentMessage = 919;

constexpr int kSizeFieldWidth = 90;

QComboBox *editableCombo(QWidget *parent, const char *name)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(QLatin1String(name));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    // No inline completion: typing 6 must not become 65500, and Enter on a selected text must
    // accept the dialog rather than complete the text to the first item.
    combo->setCompleter(nullptr);
    combo->setMinimumWidth(kSizeFieldWidth);
    return combo;
}

template <size_t N>
QButtonGroup *optionGroup(QObject *owner, QWidget *parent, std::array<QRadioButton *, N> &options, const char *name)
{
    auto *group = new QButtonGroup(owner);
    for (size_t i = 0; i < N; ++i) {
        auto *option = new QRadioButton(parent);
        option->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i));
        group->addButton(option, int(i));
        options[i] = option;
    }
    return group;
}

} // namespace

MeasurementParamDialog::MeasurementParamDialog(AppState &state, std::function<void(qint16)> reportStatus,
                                               MeasurementParams::PortResolver resolvePort, QWidget *parent)
    : QDialog(parent), m_state(state), m_reportStatus(std::move(reportStatus)), m_resolvePort(std::move(resolvePort))
{
    setObjectName(QStringLiteral("frmMSet"));
    setModal(true);
    buildLayout();

    // Load.
    fLoadRes();
    smLoadMeasurParam();
    OptSplType_Click();
    m_state.paramDialogResult = status::kDialogNotAccepted;
    adjustSize();
    sCenterForm(this);
}

void MeasurementParamDialog::buildLayout()
{
    // Measuring: instrument, sampling time and number, sample type.
    m_measuringFrame = new QGroupBox(this);
    m_measuringFrame->setObjectName(QStringLiteral("fraName"));
    m_portLabel = new QLabel(m_measuringFrame);
    m_port = new QComboBox(m_measuringFrame);
    m_port->setObjectName(QStringLiteral("cmbRSPort"));
    m_port->setMinimumWidth(2 * kSizeFieldWidth);
    m_sampleTimeLabel = new QLabel(m_measuringFrame);
    m_sampleTimeLabel->setObjectName(QStringLiteral("lblSampleTime"));
    m_sampleTime = editableCombo(m_measuringFrame, "cmbSampleTime");
    m_sampleNumLabel = new QLabel(m_measuringFrame);
    m_sampleNum = editableCombo(m_measuringFrame, "cmbSampleNum");
    m_sampleTypeGroup = optionGroup(this, m_measuringFrame, m_sampleType, "OptSplType");
    m_portLabel->setBuddy(m_port);
    m_sampleTimeLabel->setBuddy(m_sampleTime);
    m_sampleNumLabel->setBuddy(m_sampleNum);

    auto *measuring = new QGridLayout(m_measuringFrame);
    measuring->addWidget(m_portLabel, 0, 0);
    measuring->addWidget(m_port, 0, 1, 1, 2);
    measuring->addWidget(m_sampleTimeLabel, 1, 0);
    measuring->addWidget(m_sampleTime, 1, 1, 1, 2);
    measuring->addWidget(m_sampleNumLabel, 2, 0);
    measuring->addWidget(m_sampleNum, 2, 1, 1, 2);
    measuring->addWidget(m_sampleType[0], 3, 1);
    measuring->addWidget(m_sampleType[1], 3, 2);
    measuring->setColumnStretch(1, 1);
    measuring->setColumnStretch(2, 1);

    // The three unit groups.
    m_velocityFrame = new QGroupBox(this);
    m_velocityFrame->setObjectName(QStringLiteral("fraWSUnit"));
    m_velocityGroup = optionGroup(this, m_velocityFrame, m_velocityUnit, "OptWSUnit");
    auto *velocity = new QHBoxLayout(m_velocityFrame);
    for (QRadioButton *option : m_velocityUnit)
        velocity->addWidget(option);
    velocity->addStretch(1);

    m_flowFrame = new QGroupBox(this);
    m_flowFrame->setObjectName(QStringLiteral("fraWindCapUnit"));
    m_flowGroup = optionGroup(this, m_flowFrame, m_flowUnit, "OptWindCapUnit");
    auto *flow = new QGridLayout(m_flowFrame);
    // m3/h and ft3/h on the first row, m3/min and ft3/min below them.
    for (int i = 0; i < 4; ++i)
        flow->addWidget(m_flowUnit[size_t(i)], i / 2, i % 2);

    m_areaFrame = new QGroupBox(this);
    m_areaFrame->setObjectName(QStringLiteral("fraAreaUnit"));
    m_areaGroup = optionGroup(this, m_areaFrame, m_areaUnit, "OptAreaUnit");
    auto *area = new QHBoxLayout(m_areaFrame);
    for (QRadioButton *option : m_areaUnit)
        area->addWidget(option);
    area->addStretch(1);

    // Duct type: shape options and the size fields.
    m_ductFrame = new QGroupBox(this);
    m_ductFrame->setObjectName(QStringLiteral("Frame1"));
    m_rectangle = new QRadioButton(m_ductFrame);
    m_rectangle->setObjectName(QStringLiteral("OptRectangle_1"));
    m_circle = new QRadioButton(m_ductFrame);
    m_circle->setObjectName(QStringLiteral("OptCircle_1"));
    const char *sizeNames[3] = {"TxtWMWidth_1", "TxtWMHeight_1", "TxtWMDiameter_1"};
    const char *labelNames[3] = {"lblWidth_1", "lblHeight_1", "lblDiameter_1"};
    for (size_t i = 0; i < 3; ++i) {
        m_sizeLabel[i] = new QLabel(m_ductFrame);
        m_sizeLabel[i]->setObjectName(QLatin1String(labelNames[i]));
        m_size[i] = new QLineEdit(m_ductFrame);
        m_size[i]->setObjectName(QLatin1String(sizeNames[i]));
        m_size[i]->setMinimumWidth(kSizeFieldWidth);
        m_size[i]->setAlignment(Qt::AlignRight);
        m_sizeLabel[i]->setBuddy(m_size[i]);
    }
    auto *duct = new QGridLayout(m_ductFrame);
    duct->addWidget(m_rectangle, 0, 0);
    duct->addWidget(m_sizeLabel[DuctBaseSizes::Width], 0, 2);
    duct->addWidget(m_size[DuctBaseSizes::Width], 0, 3);
    duct->addWidget(m_sizeLabel[DuctBaseSizes::Height], 0, 4);
    duct->addWidget(m_size[DuctBaseSizes::Height], 0, 5);
    duct->addWidget(m_circle, 1, 0);
    duct->addWidget(m_sizeLabel[DuctBaseSizes::Diameter], 1, 2);
    duct->addWidget(m_size[DuctBaseSizes::Diameter], 1, 3);
    duct->setColumnMinimumWidth(1, 8); // keeps a short shape name off the size labels
    duct->setColumnStretch(3, 1);
    duct->setColumnStretch(5, 1);

    m_accept = new QPushButton(this);
    m_accept->setObjectName(QStringLiteral("ComdMeasurement"));
    m_accept->setDefault(true);
    m_cancel = new QPushButton(this);
    m_cancel->setObjectName(QStringLiteral("ComdCancel"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_accept);
    buttons->addWidget(m_cancel);

    // Measuring and the duct on the left, the three unit groups on the right.
    auto *units = new QVBoxLayout;
    units->addWidget(m_velocityFrame);
    units->addWidget(m_flowFrame);
    units->addWidget(m_areaFrame);
    units->addStretch(1);

    auto *grid = new QGridLayout;
    grid->addWidget(m_measuringFrame, 0, 0);
    grid->addWidget(m_ductFrame, 1, 0);
    grid->addLayout(units, 0, 1, 2, 1);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(1, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    // Tab order: the left column from the top, then the unit groups, then the buttons.
    const QList<QWidget *> order{m_port, m_sampleTime, m_sampleNum, m_sampleType[0], m_sampleType[1],
                                 m_rectangle, m_circle, m_size[DuctBaseSizes::Width],
                                 m_size[DuctBaseSizes::Height], m_size[DuctBaseSizes::Diameter],
                                 m_velocityUnit[0], m_velocityUnit[1], m_flowUnit[0], m_flowUnit[1],
                                 m_flowUnit[2], m_flowUnit[3], m_areaUnit[0], m_areaUnit[1],
                                 m_areaUnit[2], m_accept, m_cancel};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    // Events.
    // The option buttons act on being turned on, however that happens (a click, the keyboard,
    // an accessibility tool), so the fields always match the buttons.
    connect(m_sampleTypeGroup, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on)
            OptSplType_Click();
    });
    for (QRadioButton *shape : {m_rectangle, m_circle}) {
        connect(shape, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                shapeClick();
        });
    }
    connect(m_areaGroup, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on && !m_loading)
            OptAreaUnit_Click(id);
    });
    connect(m_accept, &QPushButton::clicked, this, &MeasurementParamDialog::ComdMeasurement_Click);
    connect(m_cancel, &QPushButton::clicked, this, &MeasurementParamDialog::ComdCancel_Click);
    for (int f = 0; f < FieldCount; ++f) {
        QWidget *w = fieldWidget(Field(f));
        w->installEventFilter(this);
        if (auto *combo = qobject_cast<QComboBox *>(w))
            combo->lineEdit()->installEventFilter(this);
    }
}

qint16 MeasurementParamDialog::fLoadRes()
{
    if (auto f = LanguageFont::fromTable(m_state.texts, m_state.languageOffset, m_state.fontChangeFlag))
        sApplyLanguageFont(this, *f);
    WindowTexts t(m_state);
    const auto frame = [&t](QGroupBox *box, int id) {
        QString text;
        if (t.lookup(id, &text))
            box->setTitle(text);
    };
    t.title(this, kCaption);
    frame(m_measuringFrame, kMeasuringFrame);
    t.text(m_portLabel, kSerialCaption);
    t.lookup(kSampleTimeCaption, &m_sampleTimeCaption);
    t.lookup(kIntervalCaption, &m_intervalCaption);
    t.text(m_sampleNumLabel, kSampleNumCaption);
    t.text(m_sampleType[0], acqid::kSampleTypeInstant);
    t.text(m_sampleType[1], acqid::kSampleTypeAverage);
    frame(m_velocityFrame, kVelocityFrame);
    for (int i = 0; i < 2; ++i)
        t.text(m_velocityUnit[size_t(i)], acqid::kVelocityUnitFirst + i);
    frame(m_flowFrame, kFlowFrame);
    for (int i = 0; i < 4; ++i)
        t.text(m_flowUnit[size_t(i)], acqid::kFlowUnitFirst + i);
    frame(m_areaFrame, kAreaFrame);
    for (int i = 0; i < 3; ++i)
        t.text(m_areaUnit[size_t(i)], acqid::kDuctUnitFirst + i);
    frame(m_ductFrame, kDuctFrame);
    t.text(m_rectangle, acqid::kShapeRectangle);
    t.text(m_circle, acqid::kShapeCircle);
    t.text(m_sizeLabel[DuctBaseSizes::Width], kWidthCaption);
    t.text(m_sizeLabel[DuctBaseSizes::Height], kHeightCaption);
    t.text(m_sizeLabel[DuctBaseSizes::Diameter], kDiameterCaption);
    t.text(m_accept, kMeasurementButton);
    t.text(m_cancel, acqid::kCancel);
    return t.result();
}

void MeasurementParamDialog::smLoadMeasurParam()
{
    m_loading = true;
    // The instruments attached, in slot order. The one used last is chosen when it is attached,
    // else the only one attached; with several and none used before, the user chooses.
    m_port->clear();
    for (int slot = PortTables::kFirstSlot; slot <= PortTables::kLastSlot; ++slot) {
        const QString &serial = m_state.ports.gSerialNos[size_t(slot)];
        if (!serial.isEmpty())
            m_port->addItem(serial);
    }
    int chosen = m_state.usbSerialText.isEmpty()
        ? -1
        : m_port->findText(m_state.usbSerialText, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (chosen < 0 && m_port->count() == 1)
        chosen = 0;
    m_port->setCurrentIndex(chosen);

    m_sampleTime->clear();
    m_sampleTime->addItems(MeasurementParams::sampleTimeList());
    setFieldText(SampleTime, MeasurementParams::sampleTimeText(m_state.sampleTime));
    m_sampleNum->clear();
    m_sampleNum->addItems(MeasurementParams::sampleCountList());
    setFieldText(SampleNum, QString::number(m_state.sampleCount));
    m_loadedSampleTime = m_known[SampleTime];
    m_loadedSampleNum = m_known[SampleNum];

    m_sampleType[m_state.sampleType == 0 ? 0 : 1]->setChecked(true);
    if (QAbstractButton *b = m_velocityGroup->button(m_state.velocityUnit))
        b->setChecked(true);
    if (QAbstractButton *b = m_flowGroup->button(m_state.flowUnit))
        b->setChecked(true);
    if (QAbstractButton *b = m_areaGroup->button(m_state.ductUnit))
        b->setChecked(true);

    const bool rectangle = m_state.ductShape == DuctUnits::Rectangle;
    m_rectangle->setChecked(rectangle);
    m_circle->setChecked(!rectangle);
    shapeClick();

    // The stored sizes are in the stored unit, which becomes the base unit.
    m_base.load(m_state.ductUnit, float(m_state.ductWidth), float(m_state.ductHeight), float(m_state.ductDiameter));
    setFieldText(Width, DuctUnits::sizeText(float(m_state.ductWidth)));
    setFieldText(Height, DuctUnits::sizeText(float(m_state.ductHeight)));
    setFieldText(Diameter, DuctUnits::sizeText(float(m_state.ductDiameter)));
    m_loading = false;
}

void MeasurementParamDialog::OptSplType_Click()
{
    m_sampleTimeLabel->setText(m_sampleType[0]->isChecked() ? m_intervalCaption : m_sampleTimeCaption);
}

void MeasurementParamDialog::shapeClick()
{
    const bool rectangle = m_rectangle->isChecked();
    m_size[DuctBaseSizes::Width]->setEnabled(rectangle);
    m_size[DuctBaseSizes::Height]->setEnabled(rectangle);
    m_size[DuctBaseSizes::Diameter]->setEnabled(!rectangle);
}

void MeasurementParamDialog::OptAreaUnit_Click(int index)
{
    showSizes(index);
}

void MeasurementParamDialog::showSizes(int unit)
{
    const std::array<QString, 3> texts = m_base.textsIn(unit);
    setFieldText(Width, texts[DuctBaseSizes::Width]);
    setFieldText(Height, texts[DuctBaseSizes::Height]);
    setFieldText(Diameter, texts[DuctBaseSizes::Diameter]);
}

QWidget *MeasurementParamDialog::fieldWidget(Field field) const
{
    switch (field) {
    case SampleTime: return m_sampleTime;
    case SampleNum: return m_sampleNum;
    case Width: return m_size[DuctBaseSizes::Width];
    case Height: return m_size[DuctBaseSizes::Height];
    case Diameter: return m_size[DuctBaseSizes::Diameter];
    case FieldCount: break;
    }
    return nullptr;
}

int MeasurementParamDialog::fieldOf(const QObject *object) const
{
    if (!object)
        return -1;
    if (object == m_sampleTime->lineEdit())
        return SampleTime;
    if (object == m_sampleNum->lineEdit())
        return SampleNum;
    for (int f = 0; f < FieldCount; ++f) {
        if (object == fieldWidget(Field(f)))
            return f;
    }
    return -1;
}

QString MeasurementParamDialog::fieldText(Field field) const
{
    QWidget *w = fieldWidget(field);
    if (auto *combo = qobject_cast<QComboBox *>(w))
        return combo->currentText();
    return static_cast<QLineEdit *>(w)->text();
}

void MeasurementParamDialog::setFieldText(Field field, const QString &text)
{
    QWidget *w = fieldWidget(field);
    if (auto *combo = qobject_cast<QComboBox *>(w))
        combo->setEditText(text);
    else
        static_cast<QLineEdit *>(w)->setText(text);
    m_known[size_t(field)] = text;
}

bool MeasurementParamDialog::edited(Field field) const
{
    return fieldText(field) != m_known[size_t(field)];
}

bool MeasurementParamDialog::checkField(Field field)
{
    // A text the dialog put there itself (the stored value, a conversion, an entry already
    // taken) is not checked again: a stored 0.5 s interval stays as it is.
    if (!edited(field))
        return true;
    if (m_checking)
        return false;
    m_checking = true; // the message takes the focus away; that is not leaving the field again
    const bool ok = field == SampleTime || field == SampleNum ? checkSampleField(field) : checkSizeField(field);
    m_checking = false;
    return ok;
}

bool MeasurementParamDialog::checkSampleField(Field field)
{
    const QString text = fieldText(field);
    if (field == SampleTime) {
        if (MeasurementParams::sampleTimeValid(text)) {
            m_known[SampleTime] = text;
            return true;
        }
        sShowRangeMsgSng(m_state, m_state.messages[11], MeasurementParams::kMinSampleTime,
                         MeasurementParams::kMaxSampleTime);
        refuse(field, MeasurementParams::plainSampleTime(m_state.sampleTime));
        return false;
    }
    if (MeasurementParams::sampleCountValid(text)) {
        m_known[SampleNum] = text;
        return true;
    }
    sShowRangeMsgLng(m_state, m_state.messages[12], MeasurementParams::kMinSampleCount,
                     MeasurementParams::kMaxSampleCount);
    refuse(field, QString::number(m_state.sampleCount));
    return false;
}

bool MeasurementParamDialog::checkSizeField(Field field)
{
    const auto size = DuctBaseSizes::Field(field - Width);
    const int displayUnit = m_areaGroup->checkedId();
    const DuctBaseSizes::Entry entry = m_base.leaveField(size, fieldText(field), displayUnit < 0 ? m_base.baseUnit() : displayUnit);
    if (entry.valid) {
        setFieldText(field, entry.text);
        return true;
    }
    reportStatus(runstatus::kInputError);
    refuse(field, entry.text);
    return false;
}

void MeasurementParamDialog::refuse(Field field, const QString &restored)
{
    setFieldText(field, restored);
    QWidget *w = fieldWidget(field);
    if (auto *combo = qobject_cast<QComboBox *>(w))
        combo->lineEdit()->selectAll();
    else
        static_cast<QLineEdit *>(w)->selectAll();
    w->setFocus(Qt::OtherFocusReason);
}

void MeasurementParamDialog::reportStatus(qint16 code)
{
    if (m_reportStatus) {
        m_reportStatus(code);
        return;
    }
    if (m_state.presenter)
        m_state.presenter->notify(MessagePresenter::Icon::Information, m_state.appTitle,
                                  m_state.messages[size_t(StatusReport::forCode(code).messageIndex)]);
}

bool MeasurementParamDialog::cmbSampleTime_LostFocus() { return checkField(SampleTime); }
bool MeasurementParamDialog::cmbSampleNum_LostFocus() { return checkField(SampleNum); }
bool MeasurementParamDialog::TxtWMWidth_1_LostFocus() { return checkField(Width); }
bool MeasurementParamDialog::TxtWMHeight_1_LostFocus() { return checkField(Height); }
bool MeasurementParamDialog::TxtWMDiameter_1_LostFocus() { return checkField(Diameter); }

bool MeasurementParamDialog::smSetMeasurParam()
{
    MeasurementParams::Choice c;
    if (m_port->currentIndex() >= 0)
        c.instrument = m_port->currentText();
    // A sampling time or number still as loaded keeps the stored value exactly.
    if (fieldText(SampleTime) != m_loadedSampleTime)
        c.sampleTimeText = fieldText(SampleTime);
    if (fieldText(SampleNum) != m_loadedSampleNum)
        c.sampleCountText = fieldText(SampleNum);
    c.sampleType = m_sampleType[0]->isChecked() ? 0 : 1;
    c.velocityUnit = qint16(qMax(0, m_velocityGroup->checkedId()));
    c.flowUnit = qint16(qMax(0, m_flowGroup->checkedId()));
    c.ductUnit = qint16(qMax(0, m_areaGroup->checkedId()));
    c.ductShape = m_rectangle->isChecked() ? DuctUnits::Rectangle : DuctUnits::Circle;
    c.widthText = fieldText(Width);
    c.heightText = fieldText(Height);
    c.diameterText = fieldText(Diameter);

    MeasurementParams::PortResolver resolve = m_resolvePort;
    if (!resolve) {
        const PortTables &tables = m_state.ports;
        resolve = [&tables](const QString &serial) { return UsbDiscovery::portForSerial(tables, serial); };
    }
    return MeasurementParams::smSetMeasurParam(m_state, c, resolve);
}

void MeasurementParamDialog::ComdMeasurement_Click()
{
    // Enter accepts from inside a field: the focused field is checked first, then every other
    // field the user has edited. A refused entry keeps the dialog open with that field focused.
    const int focused = fieldOf(QApplication::focusWidget());
    if (focused >= 0 && fieldWidget(Field(focused))->isEnabled() && !checkField(Field(focused)))
        return;
    for (int f = 0; f < FieldCount; ++f) {
        if (fieldWidget(Field(f))->isEnabled() && !checkField(Field(f)))
            return;
    }
    if (m_port->currentIndex() < 0 && m_state.simulation != 1) {
        if (m_port->count() > 0) {
            // Several instruments and none chosen: say which list to choose from.
            sShowErrMsg(m_state, m_state.localText(kChooseInstrumentMessage));
            m_port->setFocus(Qt::OtherFocusReason);
            return;
        }
        // Nothing attached: no run can start; say so before closing.
        sShowErrMsg(m_state, m_state.localText(kNoInstrumentMessage));
    }
    m_state.paramDialogResult = smSetMeasurParam() ? status::kDialogAccepted : status::kDialogNotAccepted;
    if (m_state.paramDialogResult == status::kDialogAccepted)
        accept();
    else
        reject();
}

void MeasurementParamDialog::ComdCancel_Click()
{
    m_state.paramDialogResult = status::kDialogNotAccepted;
    reject();
}

void MeasurementParamDialog::closeEvent(QCloseEvent *event)
{
    if (m_state.paramDialogResult != status::kDialogAccepted)
        m_state.paramDialogResult = status::kDialogNotAccepted;
    QDialog::closeEvent(event);
}

bool MeasurementParamDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut) {
        const int field = fieldOf(watched);
        if (field >= 0 && isVisible()) {
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            QWidget *next = QApplication::focusWidget();
            // The list's own popup and other windows taking the focus are not leaving the field;
            // leaving towards the buttons is left to them ("Measurement" checks, Cancel drops all).
            const bool leaving = reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason
                                 && next && next->window() == this && next != m_accept
                                 && next != m_cancel && fieldOf(next) != field;
            if (leaving)
                checkField(Field(field));
        }
    }
    return QDialog::eventFilter(watched, event);
}
