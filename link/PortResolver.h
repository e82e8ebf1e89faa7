#pragma once
// Maps the program's port numbers (COM1, COM2, ...) onto device paths: the key "COMn" of section
// "ports" of the settings file first (any path, a pseudo-terminal included); otherwise the n-th
// serial device present: USB adapters (/dev/ttyUSB*), then modems (/dev/ttyACM*), then built-in
// UARTs (/dev/ttyS* that have real hardware), each group in numeric order.

#include <string>
#include <vector>

// The device path of COMn, empty when there is none. Reads g_strSettingFile each time.
std::string ResolvePortPath(int port);

// The serial devices present, in the order they are numbered.
std::vector<std::string> ListSerialDevices();

// Where devices and their sysfs entries are looked up ("/dev" and "/sys/class/tty" by default).
// Tests point these at empty or prepared directories so that no real port is touched.
void SetSerialDeviceDirs(const std::string& devDir, const std::string& sysClassTtyDir);
