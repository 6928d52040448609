#include "app/CommandLine.h"

#include "device/HidBackend.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(CommandLine, ChoosesTheDeviceAndTheImage)
{
    EXPECT_EQ(CommandLine::parse({}).device, CommandLine::Device::Hidapi);

    const CommandLine plain = CommandLine::parse({"--simulate"});
    EXPECT_EQ(plain.device, CommandLine::Device::Simulated);
    EXPECT_EQ(plain.imagePath, CommandLine::defaultImagePath());
    EXPECT_TRUE(plain.imagePath.endsWith("/ZoffinoUSB/simulated-player.img"))
        << plain.imagePath.toStdString();
    EXPECT_TRUE(plain.error.isEmpty());

    const CommandLine withFile = CommandLine::parse({"--simulate=/tmp/a b.img"});
    EXPECT_EQ(withFile.device, CommandLine::Device::Simulated);
    EXPECT_EQ(withFile.imagePath, "/tmp/a b.img");

    EXPECT_TRUE(CommandLine::parse({"-h"}).help);
    EXPECT_TRUE(CommandLine::parse({"--version"}).version);
    EXPECT_TRUE(CommandLine::parse({"--simulated", "--help"}).help) << "help says what the known options are";
    EXPECT_EQ(CommandLine::parse({"--simulate", "--report-time=1000"}).reportTimeUs, 1000);
}

TEST(CommandLine, RefusesWhatItDoesNotKnow)
{
    EXPECT_FALSE(CommandLine::parse({"--simulate="}).error.isEmpty());
    EXPECT_FALSE(CommandLine::parse({"--simulated"}).error.isEmpty());
    EXPECT_FALSE(CommandLine::parse({"player.img"}).error.isEmpty());
    EXPECT_FALSE(CommandLine::parse({"--simulate", "--report-time=fast"}).error.isEmpty());
    EXPECT_FALSE(CommandLine::parse({"--report-time=1000"}).error.isEmpty())
        << "only for the simulated player";
    // After "--" a name spelt like the option is a name, and this program takes none.
    EXPECT_FALSE(CommandLine::parse({"--", "--simulate"}).error.isEmpty());
}

TEST(CommandLine, AnImageThatCannotBeUsedIsNamedWithWhatToDo)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString small = folder.filePath("small.img");
    QFile file(small);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a player's memory");
    file.close();

    QString failure;
    EXPECT_FALSE(CommandLine::parse({"--simulate=" + small}).openBackend(failure));
    EXPECT_TRUE(failure.contains("\"" + small + "\"")) << failure.toStdString();
    EXPECT_TRUE(failure.contains("1048576 byte")) << failure.toStdString();

    // A second program on the same image is refused while the first holds it.
    const QString image = folder.filePath("player.img");
    const CommandLine options = CommandLine::parse({"--simulate=" + image});
    const std::unique_ptr<HidBackend> first = options.openBackend(failure);
    ASSERT_TRUE(first) << failure.toStdString();
    failure.clear();
    EXPECT_FALSE(options.openBackend(failure));
    EXPECT_TRUE(failure.startsWith("L'immagine \"" + image + "\" è usata da un altro programma"))
        << failure.toStdString();
}

} // namespace
