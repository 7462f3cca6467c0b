#pragma once

#include <QDialog>
#include <array>

struct AppState;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

// The graph parameter dialog (frmGraphEditP): the time range across both charts (four options,
// each with its own list), the velocity chart's maximum and "Fit to data" (both value axes follow
// the samples on display; the maximum is kept for when it is off). OK stores them in the
// application state and answers 1001; Cancel answers 1000.
class GraphParamDialog : public QDialog
{
    Q_OBJECT
public:
    explicit GraphParamDialog(AppState &state, QWidget *parent = nullptr);

    qint16 fLoadRes();

    QRadioButton *optXRange(int i) const { return m_options[size_t(i)]; }
    QComboBox *cboXRange(int i) const { return m_lists[size_t(i)]; }
    QComboBox *cboYRange() const { return m_yRange; }
    QCheckBox *chkFitToData() const { return m_fit; }
    QPushButton *cmdOK() const { return m_ok; }
    QPushButton *cmdCancel() const { return m_cancel; }

    // cboYRange lost the focus: refuses an out-of-range or non-numeric maximum. True when valid.
    bool cboYRange_LostFocus();
    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void smLoadCboXRange();
    void sLoadYRangList();
    void optXRange_Click(int index);
    int selectedOption() const;

    AppState &m_state;
    QGroupBox *m_xFrame;
    QGroupBox *m_yFrame;
    QLabel *m_yLabel;
    std::array<QRadioButton *, 4> m_options{};
    std::array<QComboBox *, 4> m_lists{};
    std::array<QString, 4> m_loadedTexts; // what each horizontal list showed when loaded
    QComboBox *m_yRange;
    QCheckBox *m_fit;
    QPushButton *m_ok;
    QPushButton *m_cancel;
    bool m_checking = false;
};
