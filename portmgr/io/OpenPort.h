#pragma once

namespace tessaron {

// An open serial port whose closing is more than close(): the serial layer's
// port (TSerialPort) gives back the line settings and modem lines it found,
// and the locks it took, when it goes. A TDeviceHandle that owns one lets it
// close the device.
class TOpenPort
{
public:
    virtual ~TOpenPort() = default;
    virtual int Fd() const = 0;
};

} // namespace tessaron
