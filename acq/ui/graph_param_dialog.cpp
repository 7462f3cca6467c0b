#include "acq/ui/graph_param_dialog.h"

#include "acq/core/acq_string_ids.h"
#include "acq/core/app_state.h"
#include "acq/core/graph_params.h"
#include "acq/ui/window_texts.h"
#include "common/core/number_format.h"
#include "common/core/status_codes.h"
#include "common/ui/window_fonts.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

GraphParamDialog::GraphParamDialog(AppState &state, QWidget *parent) : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("frmGraphEditP"));
    setModal(true);

    m_xFrame = new QGroupBox(this);
    m_xFrame->setObjectName(QStringLiteral("fraXAxis"));
    auto *grid = new QGridLayout(m_xFrame);
    auto *group = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        auto *option = new QRadioButton(m_xFrame);
        option->setObjectName(QStringLiteral("optXRange_%1").arg(i));
        auto *list = new QComboBox(m_xFrame);
        list->setObjectName(QStringLiteral("cboXRange_%1").arg(i));
        list->setEditable(true);
        list->setInsertPolicy(QComboBox::NoInsert);
        list->setCompleter(nullptr); // typing "3" must stay "3", not complete to "30"
        list->setMinimumWidth(90);
        group->addButton(option, i);
        grid->addWidget(option, i, 0);
        grid->addWidget(list, i, 1);
        m_options[size_t(i)] = option;
        m_lists[size_t(i)] = list;
        connect(option, &QRadioButton::clicked, this, [this, i] { optXRange_Click(i); });
    }
    grid->setColumnStretch(0, 1);

    m_yFrame = new QGroupBox(this);
    m_yFrame->setObjectName(QStringLiteral("fraYAxis"));
    m_yLabel = new QLabel(m_yFrame);
    m_yLabel->setObjectName(QStringLiteral("lblYRange"));
    m_yRange = new QComboBox(m_yFrame);
    m_yRange->setObjectName(QStringLiteral("cboYRange"));
    m_yRange->setEditable(true);
    m_yRange->setInsertPolicy(QComboBox::NoInsert);
    m_yRange->setCompleter(nullptr);
    m_yRange->setMinimumWidth(90);
    m_yRange->installEventFilter(this);
    m_yRange->lineEdit()->installEventFilter(this);
    m_fit = new QCheckBox(m_yFrame);
    m_fit->setObjectName(QStringLiteral("chkFitToData"));
    auto *yColumn = new QVBoxLayout(m_yFrame);
    auto *yRow = new QHBoxLayout;
    yRow->addWidget(m_yLabel);
    yRow->addWidget(m_yRange, 1);
    yColumn->addLayout(yRow);
    yColumn->addWidget(m_fit);

    m_ok = new QPushButton(this);
    m_ok->setObjectName(QStringLiteral("cmdOK"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(this);
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(m_ok, &QPushButton::clicked, this, &GraphParamDialog::cmdOK_Click);
    connect(m_cancel, &QPushButton::clicked, this, &GraphParamDialog::cmdCancel_Click);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_xFrame);
    layout->addWidget(m_yFrame);
    layout->addLayout(buttons);

    // Load.
    m_state.paramDialogResult = status::kDialogNotAccepted;
    fLoadRes();
    smLoadCboXRange();
    sLoadYRangList();
    m_fit->setChecked(m_state.yFitToData != 0);
    adjustSize();
    setMinimumWidth(qMax(width(), 340));
    sCenterForm(this);
}

qint16 GraphParamDialog::fLoadRes()
{
    if (auto f = LanguageFont::fromTable(m_state.texts, m_state.languageOffset, m_state.fontChangeFlag))
        sApplyLanguageFont(this, *f);
    WindowTexts t(m_state);
    t.title(this, 3001);
    QString text;
    if (t.lookup(3002, &text))
        m_xFrame->setTitle(text);
    t.text(m_options[0], 3100);
    t.text(m_options[1], 3003);
    t.text(m_options[2], 3004);
    t.text(m_options[3], 3005);
    if (t.lookup(3006, &text))
        m_yFrame->setTitle(text);
    t.text(m_yLabel, 3011);
    t.text(m_fit, acqid::kFitToData);
    t.text(m_ok, acqid::kOk);
    t.text(m_cancel, acqid::kCancel);
    return t.result();
}

void GraphParamDialog::smLoadCboXRange()
{
    const GraphParams::XRangeView view = GraphParams::smLoadCboXRange(m_state.velXRange);
    for (int i = 0; i < 4; ++i) {
        QComboBox *list = m_lists[size_t(i)];
        list->clear();
        list->addItems(GraphParams::xRangeList(i));
        list->setEditText(view.texts[size_t(i)]);
        list->setEnabled(view.enabled[size_t(i)]);
        m_loadedTexts[size_t(i)] = view.texts[size_t(i)];
        m_options[size_t(i)]->setChecked(view.selected == i);
    }
}

void GraphParamDialog::sLoadYRangList()
{
    m_yRange->clear();
    m_yRange->addItems(GraphParams::yRangeList(m_state.velocityUnit));
    m_yRange->setEditText(NumberFormat::format(m_state.velYMax, QStringLiteral("0.0")));
}

void GraphParamDialog::optXRange_Click(int index)
{
    for (int i = 0; i < 4; ++i)
        m_lists[size_t(i)]->setEnabled(i == index);
}

int GraphParamDialog::selectedOption() const
{
    for (int i = 0; i < 4; ++i) {
        if (m_options[size_t(i)]->isChecked())
            return i;
    }
    return -1;
}

bool GraphParamDialog::cboYRange_LostFocus()
{
    if (GraphParams::yEntryValid(m_yRange->currentText(), m_state.velocityUnit))
        return true;
    if (m_checking)
        return false;
    m_checking = true; // the message box takes the focus away again
    sShowRangeMsgSng(m_state, m_state.messages[10], 0.0f, GraphParams::yUpperLimit(m_state.velocityUnit));
    m_yRange->setEditText(NumberFormat::format(m_state.velYMax, QStringLiteral("0.0")));
    m_yRange->lineEdit()->selectAll();
    m_yRange->setFocus();
    m_checking = false;
    return false;
}

void GraphParamDialog::cmdOK_Click()
{
    // The vertical entry is checked again: an invalid maximum never reaches the charts.
    if (!cboYRange_LostFocus())
        return;
    const int option = selectedOption();
    std::optional<qint32> range;
    if (option >= 0) {
        QComboBox *list = m_lists[size_t(option)];
        range = GraphParams::xRangeSeconds(option, list->currentText());
        if (!range) {
            // Not a whole number inside the option's range: say so and keep the dialog open.
            sShowErrMsg(m_state, 13);
            list->setEditText(m_loadedTexts[size_t(option)]);
            list->lineEdit()->selectAll();
            list->setFocus();
            return;
        }
    }
    const std::optional<double> yMax = GraphParams::velYMaxFromText(m_yRange->currentText());
    if (range)
        m_state.velXRange = *range;
    if (yMax)
        m_state.velYMax = *yMax;
    m_state.yFitToData = m_fit->isChecked() ? 1 : 0;
    m_state.paramDialogResult = status::kDialogAccepted;
    accept();
}

void GraphParamDialog::cmdCancel_Click()
{
    m_state.paramDialogResult = status::kDialogNotAccepted;
    reject();
}

void GraphParamDialog::closeEvent(QCloseEvent *event)
{
    if (m_state.paramDialogResult != status::kDialogAccepted)
        m_state.paramDialogResult = status::kDialogNotAccepted;
    QDialog::closeEvent(event);
}

bool GraphParamDialog::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == m_yRange || watched == m_yRange->lineEdit()) && event->type() == QEvent::FocusOut) {
        const auto *focus = static_cast<QFocusEvent *>(event);
        // The list's own popup takes the focus for a moment; that is not leaving the entry.
        // A click on OK or Cancel is left to those buttons (OK checks again, Cancel drops all);
        // Tab moves to OK next, and leaving with the keyboard is checked at once.
        QWidget *next = QApplication::focusWidget();
        const Qt::FocusReason reason = focus->reason();
        const bool byKeyboard = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason;
        if (reason != Qt::PopupFocusReason && (byKeyboard || (next != m_ok && next != m_cancel))
            && isVisible())
            cboYRange_LostFocus();
    }
    return QDialog::eventFilter(watched, event);
}
