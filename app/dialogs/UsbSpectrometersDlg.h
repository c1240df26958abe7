#pragma once

#include <QDialog>
#include <vector>

#include "usb/UsbBackend.h"

class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace quenlix {

// "Device > USB Spectrometers…": every USB device present, with its
// vendor:product pair, manufacturer and product strings, bus, address and
// whether its pair is in config/usb devices.txt. Ticking a device and saving
// lists its pair; unticking a listed one comments its line out (the file's
// other lines and comments stay). Devices of one pair are ticked together.
// Below the list, the udev rule lines of the ticked pairs and the commands
// that install them. "Save and Rescan" saves and closes with kRescan, so the
// main window rescans.
class UsbSpectrometersDlg : public QDialog {
public:
    static constexpr int kRescan = 2;  // result code besides Accepted and Rejected

    // devices: one enumeration with strings, taken by the caller when the
    // dialog opens (reading the strings opens every device, which may take a
    // while; the list is not refreshed while the dialog is open).
    UsbSpectrometersDlg(std::vector<kestrion::UsbDeviceInfo> devices, QWidget* parent);

    // Writes the ticks into the device list when they differ from it. False,
    // after telling the user, when the file could not be read or written.
    bool Save();

    QTreeWidget* DeviceTree() const { return tree_; }
    QPlainTextEdit* RuleText() const { return rules_; }
    QPushButton* SaveButton() const { return save_; }
    QPushButton* SaveAndRescanButton() const { return saveAndRescan_; }
    QPushButton* CloseButton() const { return close_; }

private:
    enum Column { kPair, kManufacturer, kProduct, kBus, kAddress, kListed, kColumns };

    void FillTree();
    void OnTicked(QTreeWidgetItem* item);
    void ShowRules();
    bool Ticked(size_t row) const;

    std::vector<kestrion::UsbDeviceInfo> devices_;  // row i shows device i
    QTreeWidget* tree_;
    QPlainTextEdit* rules_;
    QPushButton* save_;
    QPushButton* saveAndRescan_;
    QPushButton* close_;
};

}  // namespace quenlix
