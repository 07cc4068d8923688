// The main window's device actions: parameter transfer with the PIN gate,
// the battery query, and the reaction to the device being plugged in or out.
#include "app/appwindows.h"
#include "device/battery.h"
#include "device/batteryform.h"
#include "device/pin_dlg.h"
#include "device/portlist.h"
#include "device/usbdevices.h"
#include "device/usbmonitor.h"
#include "mainform.h"
#include "services/guard.h"
#include "services/translation.h"
#include "update/formfirmwareupdate.h"

#include <QAction>
#include <QComboBox>
#include <algorithm>

namespace {

QString devicePrefix()
{
    return QString::fromLatin1(VelotrixHardwareIdPrefix);
}

// Serial ports listed before, with another enumerator for the rest.
class ListedPorts : public DeviceEnumerator
{
public:
    ListedPorts(QList<SerialDeviceInfo> ports, const DeviceEnumerator &system)
        : m_ports(std::move(ports))
        , m_system(system)
    {
    }
    QList<SerialDeviceInfo> serialDevices() const override { return m_ports; }
    QString portOfUsbDevice(const QString &usbDevpath) const override
    {
        return m_system.portOfUsbDevice(usbDevpath);
    }

private:
    QList<SerialDeviceInfo> m_ports;
    const DeviceEnumerator &m_system;
};

} // namespace

const DeviceEnumerator &TMainform::deviceEnumerator() const
{
    return m_discovery.enumerator ? *m_discovery.enumerator : systemDeviceEnumerator();
}

void TMainform::connectDeviceActions()
{
    const auto guarded = [this](QAction *action, void (TMainform::*handler)()) {
        connect(action, &QAction::triggered, this,
            [this, handler] { runGuarded(m_prompt, [this, handler] { (this->*handler)(); }); });
    };
    guarded(Action_ReadFromVelotrix, &TMainform::Action_ReadFromVelotrixExecute);
    guarded(Action_Writetovelotrix, &TMainform::Action_WritetovelotrixExecute);
    guarded(Action_ResetParameter, &TMainform::Action_ResetParameterExecute);
    guarded(Action_BatteryFuelGauge, &TMainform::Action_BatteryFuelGaugeExecute);
    guarded(Action_FirmwareUpdate, &TMainform::Action_FirmwareUpdateExecute);
}

bool TMainform::askForPin(QString &pin)
{
    TPIN_Dlg *pinDialog = m_windows ? m_windows->PIN_Dlg : nullptr;
    if (!pinDialog || pinDialog->ShowModal() != QDialog::Accepted)
        return false;
    pin = pinDialog->Pincode;
    return true;
}

void TMainform::Action_ReadFromVelotrixExecute()
{
    if (MessageDlgCentered(QStringLiteral("Overwrite parameters?"), mtConfirmation, mbYesNo) != mrYes)
        return;
    if (!m_session->readParameters()) {
        MessageDlgCentered(tx("Transmission failed"), mtInformation, mbOK);
        return;
    }
    // Only a complete read reaches the editor.
    ReadFromDataStructs(Params.ModeCount);
    MessageDlgCentered(tx("Transmission successful"), mtInformation, mbOK);
}

void TMainform::Action_WritetovelotrixExecute()
{
    if (!m_session->PinGatePassed())
        return;
    if (MessageDlgCentered(
            tx("This will overwrite the parameters on Velotrix. Continue?"), mtConfirmation, mbYesNo)
        != mrYes) {
        MessageDlgCentered(tx("Transmission failed"), mtInformation, mbOK);
        return;
    }
    WriteToDataStructs();
    if (!m_session->writeParameters()) {
        MessageDlgCentered(tx("Transmission failed"), mtInformation, mbOK);
        return;
    }
    MessageDlgCentered(tx("Transmission successful"), mtInformation, mbOK);
}

void TMainform::Action_ResetParameterExecute()
{
    if (!m_session->PinGatePassed())
        return;
    if (MessageDlgCentered(
            tx("This will overwrite the parameters on Velotrix. Continue?"), mtConfirmation, mbYesNo)
        != mrYes)
        return;
    if (m_session->resetParameters() == ResetResult::Reset)
        MessageDlgCentered(tx("Velotrix was reset."), mtWarning, mbOK);
}

void TMainform::Action_BatteryFuelGaugeExecute()
{
    try {
        // The battery window is shown while the session still holds the
        // busy flag, so that no other exchange starts in between.
        m_session->readBattery([this](quint16 reading) {
            if (reading == 0) {
                MessageDlgCentered(
                    tx("Please unplug Velotrix for 5 seconds and try again."), mtWarning, mbOK);
            } else if (TBatteryform *form = m_windows ? m_windows->Batteryform : nullptr) {
                form->PaintReading(reading);
                form->ShowModal();
            }
        });
    } catch (const std::exception &) {
        // A failed battery query has no message of its own.
    }
}

void TMainform::Action_FirmwareUpdateExecute()
{
    if (TFormFirmwareUpdate *update = m_windows ? m_windows->FormFirmwareUpdate : nullptr)
        update->ShowModal();
}

void TMainform::CreateUSBComponent()
{
    if (m_discovery.makeEventSource)
        USB = new TComponentUSB(this, m_discovery.makeEventSource());
    else
        USB = new TComponentUSB(this);
    USB->setObjectName(QStringLiteral("USB"));
    USB->onError = [this](const QString &text) { m_prompt.MessageDlgCentered(text, mtError, mbOK); };
    // An error is reported here, inside the handler: an exception must not
    // unwind through the signal that delivered the notification.
    connect(USB, &TComponentUSB::OnUSBArrival, this, [this](QObject *Sender, const QString &Port) {
        runGuarded(m_prompt, [&] { USBArrival(Sender, Port); });
    });
    connect(USB, &TComponentUSB::OnUSBRemove, this, [this](QObject *Sender, const QString &Port) {
        runGuarded(m_prompt, [&] { USBRemove(Sender, Port); });
    });
}

QStringList TMainform::listPortsBeforeStart()
{
    if (!m_systemPorts)
        return m_listPorts();
    // What listAllSerialPorts() lists, from the same look at the system.
    m_portsAtStart = deviceEnumerator().serialDevices();
    QStringList names;
    for (const SerialDeviceInfo &device : std::as_const(*m_portsAtStart))
        names.append(device.portName);
    return sortPortNames(names + announcedEmulatorPorts());
}

void TMainform::SelectDevicePortAtStart()
{
    QStringList devicePorts;
    if (m_portsAtStart)
        ListDevicePorts(
            devicePorts, devicePrefix(), ListedPorts(*std::exchange(m_portsAtStart, {}), deviceEnumerator()));
    else
        ListDevicePorts(devicePorts, devicePrefix(), deviceEnumerator());
    // Without an attached device the chooser keeps every serial port, so
    // that the user can still pick one by hand.
    if (devicePorts.isEmpty())
        return;
    ComComboBox1->clear();
    ComComboBox1->addItems(devicePorts);
    openChooserPort(0);
}

void TMainform::refillPortChooser(const QStringList &ports, bool keepOpenPort)
{
    ComComboBox1->clear();
    ComComboBox1->addItems(ports);
    const int current = keepOpenPort && port().isOpen()
        ? ComComboBox1->findText(port().portName(), Qt::MatchFixedString)
        : -1;
    ComComboBox1->setCurrentIndex(current);
}

void TMainform::USBArrival(QObject * /*Sender*/, const QString &Portinfo)
{
    if (isBootloaderDevice(Portinfo)) {
        if (TFormFirmwareUpdate *update = m_windows ? m_windows->FormFirmwareUpdate : nullptr)
            update->Bootloader_Ready = true;
        return;
    }
    if (!isVelotrixDevice(Portinfo))
        return;

    const QStringList all = m_listPorts();
    QStringList listed;
    for (int i = 0; i < ComComboBox1->count(); ++i)
        listed.append(ComComboBox1->itemText(i));
    const QStringList fresh = SubtractPortList(all, listed);
    // A device announces itself more than once (the USB device, then its
    // port); the port opened on the first announcement stays the chooser's
    // current entry on the later ones.
    refillPortChooser(all, true);
    if (fresh.isEmpty())
        return;

    // The chooser may have listed only device ports, so every other port of
    // the system counts as new: prefer the arriving device's own port, then
    // any new port of a device of this kind.
    QString target;
    const QString own = GetComPortName(Portinfo, deviceEnumerator());
    if (!own.isEmpty() && fresh.contains(own, Qt::CaseInsensitive)) {
        target = own;
    } else {
        QStringList devicePorts;
        ListDevicePorts(devicePorts, devicePrefix(), deviceEnumerator());
        const auto it = std::find_if(devicePorts.cbegin(), devicePorts.cend(),
            [&fresh](const QString &p) { return fresh.contains(p, Qt::CaseInsensitive); });
        target = it != devicePorts.cend() ? *it : fresh.first();
    }
    openChooserPort(ComComboBox1->findText(target, Qt::MatchFixedString));
}

void TMainform::USBRemove(QObject * /*Sender*/, const QString &Portinfo)
{
    if (!isVelotrixDevice(Portinfo))
        return;
    try {
        const QString name = GetComPortName(Portinfo, deviceEnumerator());
        if (!name.isEmpty() && name == port().portName())
            port().close();
    } catch (const std::exception &) {
        // The device is gone; closing its port may fail.
    }
    refillPortChooser(m_listPorts(), false);
}
