#pragma once

#include <string>
#include <vector>

// What the tests look at in the machine around the virtual player.

bool exists(const std::string& path);
// The USB device controllers a gadget can be bound to, by name.
std::vector<std::string> usbDeviceControllers();
// The gadgets of virtual players in configfs.
std::vector<std::string> playerGadgets();
