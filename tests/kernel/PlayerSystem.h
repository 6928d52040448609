#pragma once

#include <string>
#include <vector>

// What the tests look at in the machine around the virtual player.

bool exists(const std::string& path);
// The USB device controllers a gadget can be bound to, by name.
std::vector<std::string> usbDeviceControllers();
// The gadgets of virtual players in configfs.
std::vector<std::string> playerGadgets();

// The transports each test runs on, named for the tests' names.
#define ZOFFINO_ON_EACH_TRANSPORT(suite)                                                                     \
    INSTANTIATE_TEST_SUITE_P(Transports, suite, ::testing::Values("uhid", "gadget"),                         \
                             [](const ::testing::TestParamInfo<std::string>& info) { return info.param; })
