#pragma once

#include <libudev.h>
#include <memory>

// Owning handles for libudev objects; each releases its reference on
// destruction.
struct UdevDeleter
{
    void operator()(udev *p) const { udev_unref(p); }
    void operator()(udev_device *p) const { udev_device_unref(p); }
    void operator()(udev_enumerate *p) const { udev_enumerate_unref(p); }
    void operator()(udev_monitor *p) const { udev_monitor_unref(p); }
};

using UdevPtr = std::unique_ptr<udev, UdevDeleter>;
using UdevDevicePtr = std::unique_ptr<udev_device, UdevDeleter>;
using UdevEnumeratePtr = std::unique_ptr<udev_enumerate, UdevDeleter>;
using UdevMonitorPtr = std::unique_ptr<udev_monitor, UdevDeleter>;
