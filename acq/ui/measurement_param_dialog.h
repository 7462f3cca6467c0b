#pragma once

#include "acq/core/duct_base_sizes.h"
#include "acq/core/measurement_params.h"

#include <QDialog>
#include <array>
#include <functional>

struct AppState;
class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The measurement parameter dialog (frmMSet): the instrument, sampling time and number, sample
// type, the velocity, flow-rate and duct-size units and the duct. "Measurement" takes the values
// into the application state and answers 1001 (start a run); Cancel, closing the window and a
// missing instrument answer 1000 and change nothing.
//
// The sampling time and number are checked when their field is left, the duct sizes likewise;
// a refused entry shows its message, is put back, selected and keeps the focus. Accepting checks
// the field that has the focus first (Enter accepts from inside a field), then every other field
// the user has edited; values the dialog opened with are taken as they are.
class MeasurementParamDialog : public QDialog
{
    Q_OBJECT
public:
    // reportStatus shows a status code's message (ventacq: RunController::sReportStatus), used
    // for code 13 when a duct size is refused. resolvePort finds the port path of an instrument by
    // its serial text at the moment of accepting (ventacq: the USB discovery); an empty answer
    // means the instrument is gone. Without them the dialog shows messages[13] itself and
    // resolves over the port tables of the state.
    MeasurementParamDialog(AppState &state, std::function<void(qint16)> reportStatus,
                           MeasurementParams::PortResolver resolvePort, QWidget *parent = nullptr);

    qint16 fLoadRes();

    QComboBox *cmbRSPort() const { return m_port; }
    QComboBox *cmbSampleTime() const { return m_sampleTime; }
    QComboBox *cmbSampleNum() const { return m_sampleNum; }
    QLabel *lblSampleTime() const { return m_sampleTimeLabel; }
    QRadioButton *OptSplType(int i) const { return m_sampleType[size_t(i)]; }
    QRadioButton *OptWSUnit(int i) const { return m_velocityUnit[size_t(i)]; }
    QRadioButton *OptWindCapUnit(int i) const { return m_flowUnit[size_t(i)]; }
    QRadioButton *OptAreaUnit(int i) const { return m_areaUnit[size_t(i)]; }
    QRadioButton *OptRectangle_1() const { return m_rectangle; }
    QRadioButton *OptCircle_1() const { return m_circle; }
    QLineEdit *TxtWMWidth_1() const { return m_size[DuctBaseSizes::Width]; }
    QLineEdit *TxtWMHeight_1() const { return m_size[DuctBaseSizes::Height]; }
    QLineEdit *TxtWMDiameter_1() const { return m_size[DuctBaseSizes::Diameter]; }
    QPushButton *ComdMeasurement() const { return m_accept; }
    QPushButton *ComdCancel() const { return m_cancel; }

    // Leaving a field: true when its entry is taken (or was not edited).
    bool cmbSampleTime_LostFocus();
    bool cmbSampleNum_LostFocus();
    bool TxtWMWidth_1_LostFocus();
    bool TxtWMHeight_1_LostFocus();
    bool TxtWMDiameter_1_LostFocus();
    void OptAreaUnit_Click(int index);
    void ComdMeasurement_Click();
    void ComdCancel_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // The checked fields, in tab order.
    enum Field { SampleTime, SampleNum, Width, Height, Diameter, FieldCount };

    void buildLayout();
    void smLoadMeasurParam();
    bool smSetMeasurParam();
    void OptSplType_Click();
    void shapeClick();
    void showSizes(int unit);

    QString fieldText(Field field) const;
    void setFieldText(Field field, const QString &text);
    QWidget *fieldWidget(Field field) const;
    int fieldOf(const QObject *object) const;
    bool edited(Field field) const;
    bool checkField(Field field);
    bool checkSampleField(Field field);
    bool checkSizeField(Field field);
    void refuse(Field field, const QString &restored);
    void reportStatus(qint16 code);

    AppState &m_state;
    std::function<void(qint16)> m_reportStatus;
    MeasurementParams::PortResolver m_resolvePort;

    DuctBaseSizes m_base;
    std::array<QString, FieldCount> m_known; // each field's text as loaded or last taken
    QString m_loadedSampleTime;              // the two sampling texts the dialog opened with
    QString m_loadedSampleNum;
    QString m_sampleTimeCaption;             // 2123 "Sampling Time:"
    QString m_intervalCaption;               // 2127 "Interval Time :"
    bool m_checking = false;
    bool m_loading = false; // the stored values are being shown: no conversion

    QGroupBox *m_measuringFrame;
    QLabel *m_portLabel;
    QComboBox *m_port;
    QLabel *m_sampleTimeLabel;
    QComboBox *m_sampleTime;
    QLabel *m_sampleNumLabel;
    QComboBox *m_sampleNum;
    std::array<QRadioButton *, 2> m_sampleType{};
    QButtonGroup *m_sampleTypeGroup;

    QGroupBox *m_velocityFrame;
    std::array<QRadioButton *, 2> m_velocityUnit{};
    QButtonGroup *m_velocityGroup;
    QGroupBox *m_flowFrame;
    std::array<QRadioButton *, 4> m_flowUnit{};
    QButtonGroup *m_flowGroup;
    QGroupBox *m_areaFrame;
    std::array<QRadioButton *, 3> m_areaUnit{};
    QButtonGroup *m_areaGroup;

    QGroupBox *m_ductFrame;
    QRadioButton *m_rectangle;
    QRadioButton *m_circle;
    std::array<QLabel *, 3> m_sizeLabel{};
    std::array<QLineEdit *, 3> m_size{};

    QPushButton *m_accept;
    QPushButton *m_cancel;
};
