#include "device/HidapiDevice.h"

#include <hidapi.h>

#include <QString>

HidapiDevice::HidapiDevice(hid_device* handle, std::string path) : m_handle(handle), m_path(std::move(path))
{}

HidapiDevice::~HidapiDevice()
{
    hid_close(m_handle);
}

int HidapiDevice::write(std::span<const std::uint8_t> report)
{
    return hid_write(m_handle, report.data(), report.size());
}

int HidapiDevice::read(std::span<std::uint8_t> buffer, int timeoutMs)
{
    return hid_read_timeout(m_handle, buffer.data(), buffer.size(), timeoutMs);
}

std::string HidapiDevice::errorText() const
{
    const wchar_t* text = hid_error(m_handle);
    return text ? QString::fromWCharArray(text).toStdString() : std::string();
}
