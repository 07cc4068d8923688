// The main window's device actions: parameter transfer with the PIN gate,
// the battery query, and the reaction to the device being plugged in or out.
#include "app/appwindows.h"
#include "app/guard.h"
#include "app/messagedlg.h"
#include "device/battery.h"
#include "device/batteryform.h"
#include "device/pin_dlg.h"
#include "device/pinprotection.h"
#include "device/transfers.h"
#include "device/usbdevices.h"
#include "device/usbmonitor.h"
#include "mainform.h"
#include "services/translation.h"
#include "update/formfirmwareupdate.h"

#include <QAction>
#include <QComboBox>
#include <QThread>
#include <algorithm>

namespace {

TMainform::DeviceDiscovery &discoveryOverride()
{
    static TMainform::DeviceDiscovery discovery;
    return discovery;
}

QString devicePrefix()
{
    return QString::fromLatin1(VelotrixHardwareIdPrefix);
}

} // namespace

void TMainform::setDeviceDiscovery(const DeviceDiscovery &discovery)
{
    discoveryOverride() = discovery;
}

const DeviceEnumerator &TMainform::deviceEnumerator() const
{
    return m_enumerator ? *m_enumerator : systemDeviceEnumerator();
}

void TMainform::connectDeviceActions()
{
    const auto guarded = [this](QAction *action, void (TMainform::*handler)()) {
        connect(action, &QAction::triggered, this,
            [this, handler] { runGuarded([this, handler] { (this->*handler)(); }); });
    };
    guarded(Action_ReadFromVelotrix, &TMainform::Action_ReadFromVelotrixExecute);
    guarded(Action_Writetovelotrix, &TMainform::Action_WritetovelotrixExecute);
    guarded(Action_ResetParameter, &TMainform::Action_ResetParameterExecute);
    guarded(Action_BatteryFuelGauge, &TMainform::Action_BatteryFuelGaugeExecute);
}

bool TMainform::PinGatePassed()
{
    if (!m_link->PIN_Protected)
        return true;
    TPIN_Dlg *pinDialog = appWindows().PIN_Dlg;
    QString pin = pinDialog ? pinDialog->Pincode : QString();
    while (!CheckPINCode(*m_link, pin)) {
        if (!pinDialog || pinDialog->ShowModal() != QDialog::Accepted)
            return false;
        pin = pinDialog->Pincode;
    }
    return true;
}

void TMainform::Action_ReadFromVelotrixExecute()
{
    if (MessageDlgCentered(QStringLiteral("Overwrite parameters?"), mtConfirmation, mbYesNo) != mrYes)
        return;

    int modes = ModeCount;
    const bool ok = ReadParameterBlocks(*m_link, Params, modes);
    // Only the receive side: flushing the output as well could discard the
    // final "*OK" or "*ER" before the device has it.
    port().clearReceived();
    if (!ok) {
        MessageDlgCentered(tx("Transmission failed"), mtInformation, mbOK);
        return;
    }
    ModeCount = modes;
    // The editor is refreshed from the records here: ReadFromDataStructs(ModeCount).
    MessageDlgCentered(tx("Transmission successful"), mtInformation, mbOK);
}

void TMainform::Action_WritetovelotrixExecute()
{
    if (!PinGatePassed())
        return;
    if (MessageDlgCentered(
            tx("This will overwrite the parameters on Velotrix. Continue?"), mtConfirmation, mbYesNo)
        != mrYes) {
        MessageDlgCentered(tx("Transmission failed"), mtInformation, mbOK);
        return;
    }
    // The editor is copied into the records here: WriteToDataStructs().
    const int modes = std::clamp(ModeCount, 1, tParameterSet::MaxModes);
    if (!WriteParameterBlocks(*m_link, Params, modes)) {
        MessageDlgCentered(tx("Transmission failed"), mtInformation, mbOK);
        return;
    }
    DeviceLink::Delay_ms(300);
    MessageDlgCentered(tx("Transmission successful"), mtInformation, mbOK);
}

void TMainform::Action_ResetParameterExecute()
{
    if (!PinGatePassed())
        return;
    if (MessageDlgCentered(
            tx("This will overwrite the parameters on Velotrix. Continue?"), mtConfirmation, mbYesNo)
        != mrYes)
        return;
    if (ResetDeviceParameters(*m_link) == ResetResult::Reset)
        MessageDlgCentered(tx("Velotrix was reset."), mtWarning, mbOK);
}

void TMainform::Action_BatteryFuelGaugeExecute()
{
    if (m_link->Communication)
        return;
    // Held while the battery window is open and through the wait afterwards,
    // so that no other exchange starts in between.
    m_link->Communication = true;
    try {
        const std::optional<quint16> reading = RequestBatteryReading(*m_link);
        if (reading && *reading == 0) {
            MessageDlgCentered(tx("Please unplug Velotrix for 5 seconds and try again."), mtWarning, mbOK);
        } else if (reading) {
            if (TBatteryform *form = appWindows().Batteryform) {
                form->PaintReading(*reading);
                form->ShowModal();
            }
        }
        // The device needs a rest after the measurement.
        QThread::msleep(1000);
    } catch (const std::exception &) {
        // A failed battery query has no message of its own.
    }
    m_link->Communication = false;
}

void TMainform::CreateUSBComponent()
{
    const DeviceDiscovery &discovery = discoveryOverride();
    m_enumerator = discovery.enumerator;
    if (discovery.makeEventSource)
        USB = new TComponentUSB(this, discovery.makeEventSource());
    else
        USB = new TComponentUSB(this);
    USB->setObjectName(QStringLiteral("USB"));
    USB->onError = [](const QString &text) { ::MessageDlgCentered(text, mtError, mbOK); };
    // An error is reported here, inside the handler: an exception must not
    // unwind through the signal that delivered the notification.
    connect(USB, &TComponentUSB::OnUSBArrival, this,
        [this](QObject *Sender, const QString &Port) { runGuarded([&] { USBArrival(Sender, Port); }); });
    connect(USB, &TComponentUSB::OnUSBRemove, this,
        [this](QObject *Sender, const QString &Port) { runGuarded([&] { USBRemove(Sender, Port); }); });
}

void TMainform::SelectDevicePortAtStart()
{
    QStringList devicePorts;
    ListDevicePorts(devicePorts, devicePrefix(), deviceEnumerator());
    // Without an attached device the chooser keeps every serial port, so
    // that the user can still pick one by hand.
    if (devicePorts.isEmpty())
        return;
    ComComboBox1->clear();
    ComComboBox1->addItems(devicePorts);
    ComComboBox1->setCurrentIndex(0);
    ComComboBox1Change();
}

void TMainform::refillPortChooser(const QStringList &ports)
{
    ComComboBox1->clear();
    ComComboBox1->addItems(ports);
    ComComboBox1->setCurrentIndex(-1);
}

void TMainform::USBArrival(QObject * /*Sender*/, const QString &Portinfo)
{
    if (isBootloaderDevice(Portinfo)) {
        if (TFormFirmwareUpdate *update = appWindows().FormFirmwareUpdate)
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
    refillPortChooser(all);
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

    const int index = ComComboBox1->findText(target, Qt::MatchFixedString);
    if (index < 0)
        return;
    ComComboBox1->setCurrentIndex(index);
    // Like a pick in the chooser: name first, then the change handler
    // reconnects; a port that cannot be opened fails silently.
    try {
        port().setPortName(ComComboBox1->itemText(index));
    } catch (const std::exception &) {
    }
    ComComboBox1Change();
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
    refillPortChooser(m_listPorts());
}
