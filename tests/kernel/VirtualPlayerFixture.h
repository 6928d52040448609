#pragma once

#include "ChildProcess.h"
#include "LinkFixture.h"
#include "PlayerSystem.h"
#include "WavBuilder.h"

#include "device/HidapiBackend.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

// These tests need root, a kernel with uhid and a USB device controller (dummy_hcd): scripts/test-kernel
// runs them in a virtual machine.

using Bytes = std::vector<std::uint8_t>;

inline constexpr uid_t kNobody = 65534;
// Starting a program in an emulated machine over a shared folder takes seconds, not milliseconds.
inline constexpr std::chrono::seconds kStartTimeout{30};

inline const std::string kPlayerProgram = ZOFFINO_UHID_PLAYER;

// Each test runs on both of the player's ways into the kernel: uhid, and a USB gadget that usbhid enumerates.
class VirtualPlayerFixture : public LinkFixture, public ::testing::WithParamInterface<std::string>
{
protected:
    void SetUp() override
    {
        LinkFixture::SetUp();
        if (gadget() && usbDeviceControllers().empty()) {
            GTEST_SKIP() << "no USB device controller (modprobe dummy_hcd is_high_speed=0)";
        }
    }

    void TearDown() override
    {
        LinkFixture::TearDown();
        // Every run ends the way a user ends it: SIGTERM takes the player off the bus and it exits cleanly.
        if (player) {
            EXPECT_EQ(player->stop(std::chrono::seconds(5)), 0) << player->errors();
            EXPECT_FALSE(exists(node)) << node;
            EXPECT_EQ(playerGadgets(), std::vector<std::string>{}) << "the player removes its gadget";
        }
    }

    bool gadget() const { return GetParam() == "gadget"; }

    // Starts zoffino-uhid-player on the image and waits until the kernel has made its hidraw node.
    void startPlayer(std::vector<std::string> options = {})
    {
        options.insert(options.end(),
                       {"--transport", GetParam(), "--image", image, "--ready-file", readyFile});
        player.emplace(kPlayerProgram, options);
        node = waitForNode(1);
    }

    std::string waitForNode(int occurrence)
    {
        if (!player->waitForLine("ready", occurrence, kStartTimeout)) {
            ADD_FAILURE() << "the player did not get ready: " << player->errors();
            return {};
        }
        std::string path;
        std::getline(std::ifstream(readyFile), path);
        EXPECT_TRUE(path.starts_with("/dev/hidraw") && exists(path)) << path;
        return path;
    }

    void useHidapi()
    {
        app.SetBackend(std::make_unique<HidapiBackend>());
        app.SetUi(&ui);
    }

    Bytes imageBytes() const
    {
        std::ifstream file(image, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

    void writeImage(const Bytes& bytes) const
    {
        std::ofstream(image, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    QString wavFile(const Bytes& samples) const
    {
        const QString path = dir.filePath(QStringLiteral("brano.wav"));
        EXPECT_TRUE(WavBuilder::deviceFormat().data(samples).writeTo(path));
        return path;
    }

    QTemporaryDir dir;
    const std::string image = dir.filePath(QStringLiteral("flash.img")).toStdString();
    const std::string readyFile = dir.filePath(QStringLiteral("ready")).toStdString();
    std::optional<ChildProcess> player;
    std::string node;
};
