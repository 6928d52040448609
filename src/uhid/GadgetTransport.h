#pragma once

#include "uhid/PlayerTransport.h"

#include <memory>

// The player as a USB device: a gadget made in configfs with the HID function, bound to a USB device
// controller (a real one, or dummy_hcd's, whose host side is this same machine). The host's USB HID driver
// (usbhid) enumerates it and hidraw makes its node; the player serves the function's node (/dev/hidgN):
// output reports from the interrupt OUT endpoint, input reports to the interrupt IN endpoint. Unplugging
// unbinds the controller, plugging in binds it again. The gadget is removed from configfs when the object
// goes; one left behind by a player that was killed is removed by the next player that starts.
class GadgetTransport : public PlayerTransport
{
public:
    static constexpr const char* kGadgets = "/sys/kernel/config/usb_gadget";
    static constexpr const char* kControllers = "/sys/class/udc";

    // Makes the gadget's folder in configfs; null, with error in words a user can act on, when configfs or
    // the gadget support is missing, the user may not make gadgets, or there is no controller (named
    // controller: only that one; empty: the first that is free).
    static std::unique_ptr<GadgetTransport> open(const std::string& controller, std::string& error);
    ~GadgetTransport() override;
    GadgetTransport(const GadgetTransport&) = delete;
    GadgetTransport& operator=(const GadgetTransport&) = delete;

    int fd() const override { return m_fd; }
    bool plugIn(const Identity& identity, std::string& error) override;
    bool unplug(std::string& error) override;
    bool pluggedIn() const override { return !m_bound.empty(); }
    bool reportsDriver() const override { return false; }
    std::optional<Event> read(std::string& error) override;
    Sent sendInput(std::span<const std::uint8_t> report, std::string& error) override;
    std::string findNode() const override;
    std::string missingNodeHint() const override { return "usbhid"; }

    // The configfs folder of this player's gadget.
    const std::string& folder() const { return m_folder; }
    // The controller it is bound to; empty while unplugged.
    const std::string& controller() const { return m_bound; }

private:
    GadgetTransport(std::string folder, std::string controller);
    bool describe(const Identity& identity, std::string& error);
    bool bind(std::string& error);
    bool openNode(std::string& error);

    std::string m_folder;
    std::string m_wanted;
    std::string m_bound;
    bool m_described = false;
    std::vector<std::string> m_nodeLines;
    std::size_t m_reportLength = 0;
    int m_fd = -1;
};
