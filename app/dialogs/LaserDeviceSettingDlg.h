#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "Beamora.h"
#include "LaserSettings.h"
#include "UpDownArrows.h"

namespace quenlix {

// The LIBS laser's settings: laser control on or off, serial port, pulse
// frequency and width, acquisition delay and trigger mode. Opens with the
// settings of "config/libs-laser.bin"; OK stores them there and, with laser
// control on, sends them to the borrowed laser one command at a time with a
// pause after each, the dialog staying open meanwhile with its controls
// disabled; it ends once the last command is sent, after which the opener
// starts or stops the laser by settings.BOpenLaserControl. Cancel, the close
// box and Escape change nothing.
//
// The pulse width is kept in µs and shown in µs or ms, each delay kept in ns
// and shown in ns, µs or ms; an edit shows the kept value in whole units of
// its unit list. Edits take a typed number above 0 when they lose the focus
// or on Enter and show the kept value again; the arrows keep the frequency
// within 1..1000 Hz, the width within one unit..1000000 µs and the delay
// within one unit..1000000000 ns.
class CLaserDeviceSettingDlg : public QDialog {
public:
    explicit CLaserDeviceSettingDlg(CBeamora& laser, QWidget* parent = nullptr);

    void ApplyLanguage(int index);

    LaserSettings settings;

    QCheckBox* ControlCheck() const { return controlCheck_; }
    QLineEdit* PortBox() const { return portBox_; }
    QLabel* PortDevice() const { return portDevice_; }
    QLineEdit* FreqBox() const { return freqBox_; }
    UpDownArrows* FreqArrows() const { return freqArrows_; }
    QLineEdit* WidthBox() const { return widthBox_; }
    UpDownArrows* WidthArrows() const { return widthArrows_; }
    QComboBox* WidthUnit() const { return widthUnit_; }
    QLineEdit* DelayBox() const { return delayBox_; }
    UpDownArrows* DelayArrows() const { return delayArrows_; }
    QComboBox* DelayUnit() const { return delayUnit_; }
    QComboBox* TrigBox() const { return trigBox_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

protected:
    // Enter in an edit only checks the edit; Escape does nothing.
    void keyPressEvent(QKeyEvent* event) override;
    // The close box does nothing while the settings are being sent.
    void closeEvent(QCloseEvent* event) override;

private:
    // One kept value with its edit, its arrows' limits and, for the width and
    // the delay, its unit list.
    struct Field {
        int* value;
        QLineEdit* box;
        QComboBox* unit;     // none: the value is shown as kept
        const int* factors;  // per entry of the unit list
        int maximum;         // the arrows' upper limit, in kept units
    };

    int Factor(const Field& field) const;
    void Show(const Field& field);
    void OnEdited(const Field& field);
    void OnStep(const Field& field, int step);
    void OnUnitChanged(const Field& field);
    void ShowPortDevice();
    void ApplyEnabling();
    void OnOk();
    // Sends command number step of trigger mode, width, frequency, delay and
    // start, and sets a timer for the next; after the start it ends the dialog.
    void SendCommand(int step);
    // Tells the person that the laser's port could not be opened.
    void TellPortNotOpened();

    CBeamora& laser_;
    bool sending_ = false;

    QCheckBox* controlCheck_;
    QGroupBox* generalGroup_;
    QLabel* portLabel_;
    QLineEdit* portBox_;
    QLabel* portDevice_;
    QLabel* freqLabel_;
    QLineEdit* freqBox_;
    UpDownArrows* freqArrows_;
    QLabel* widthLabel_;
    QLineEdit* widthBox_;
    UpDownArrows* widthArrows_;
    QComboBox* widthUnit_;
    QGroupBox* mode1Group_;
    QLabel* delayLabel_;
    QLineEdit* delayBox_;
    UpDownArrows* delayArrows_;
    QComboBox* delayUnit_;
    QLabel* trigLabel_;
    QComboBox* trigBox_;
    QPushButton* ok_;
    QPushButton* cancel_;

    Field port_;
    Field freq_;
    Field width_;
    Field delay_;
};

}  // namespace quenlix
