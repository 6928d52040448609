#include "device/HidDescriptorParser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <initializer_list>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct CapturedDescriptor
{
    std::string name;
    HidReportLengths windowsLengths;
    Bytes bytes;
};

Bytes fromHex(const std::string& hex)
{
    Bytes out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        out.push_back(static_cast<std::uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    return out;
}

std::vector<CapturedDescriptor> loadCapturedDescriptors()
{
    std::vector<CapturedDescriptor> rows;
    std::ifstream file(std::string(ZOFFINO_TESTDATA_DIR) + "/hid-descriptors.tsv");
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        CapturedDescriptor row;
        unsigned input = 0, output = 0, feature = 0;
        std::string hex;
        fields >> row.name >> input >> output >> feature >> hex;
        row.windowsLengths = {static_cast<std::uint16_t>(input), static_cast<std::uint16_t>(output),
                              static_cast<std::uint16_t>(feature)};
        row.bytes = fromHex(hex);
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace

TEST(HidDescriptorParserCaptured, EveryDescriptorMatchesWindowsLengths)
{
    const auto rows = loadCapturedDescriptors();
    ASSERT_GE(rows.size(), 20u) << "capture table missing or truncated";
    // The shapes we most rely on: a boot keyboard, a mouse, and devices multiplexing several report IDs.
    const auto has = [&](const std::string& suffix) {
        return std::any_of(rows.begin(), rows.end(), [&](const auto& r) { return r.name.ends_with(suffix); });
    };
    ASSERT_TRUE(has("_0006_0001") && has("_0002_0001") && has("046D_0A37_0001_000C"));

    for (const auto& row : rows) {
        const auto lengths = HidDescriptorParser::reportLengths(row.bytes);
        if (!lengths) {
            ADD_FAILURE() << row.name << ": rejected";
            continue;
        }
        EXPECT_EQ(lengths->input, row.windowsLengths.input) << row.name;
        EXPECT_EQ(lengths->output, row.windowsLengths.output) << row.name;
        EXPECT_EQ(lengths->feature, row.windowsLengths.feature) << row.name;
    }
}

// A cut inside an item or an open collection must be refused; only a cut before the first collection,
// which holds no reports yet, may pass. Exact-size copies let the address sanitizer catch overreads.
TEST(HidDescriptorParserCaptured, TruncationsAreRefusedWithoutOverreading)
{
    for (const auto& row : loadCapturedDescriptors()) {
        for (std::size_t length = 0; length < row.bytes.size(); ++length) {
            const Bytes prefix(row.bytes.begin(), row.bytes.begin() + static_cast<std::ptrdiff_t>(length));
            const auto lengths = HidDescriptorParser::reportLengths(prefix);
            if (lengths) {
                EXPECT_TRUE(lengths->input == 0 && lengths->output == 0 && lengths->feature == 0)
                    << row.name << " cut to " << length << " bytes";
            }
        }
    }
}

namespace {

struct HandCase
{
    const char* what;
    Bytes descriptor;
    std::optional<HidReportLengths> expected;
};

// Vendor page application collection around `items`, closed, then `trailing` (to damage the end without
// also leaving the collection open).
Bytes vendorCollection(std::initializer_list<std::uint8_t> items,
                       std::initializer_list<std::uint8_t> trailing = {})
{
    Bytes out{0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01};
    out.insert(out.end(), items);
    out.push_back(0xC0);
    out.insert(out.end(), trailing);
    return out;
}

const std::vector<HandCase> kHandCases = {
    {"player: ID 1 input and ID 2 output of 63 bytes",
     vendorCollection({0x85, 0x01, 0x09, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95,
                       0x3F, 0x81, 0x02, 0x85, 0x02, 0x09, 0x02, 0x95, 0x3F, 0x91, 0x02}),
     HidReportLengths{64, 64, 0}},
    {"ID byte counted without report IDs, bits rounded up",
     vendorCollection({0x75, 0x01, 0x95, 0x03, 0x81, 0x02}), HidReportLengths{2, 0, 0}},
    {"Pop restores size and count",
     vendorCollection({0x75, 0x08, 0x95, 0x02, 0xA4, 0x75, 0x01, 0x95, 0x04, 0x81, 0x02, 0xB4, 0x81, 0x02}),
     HidReportLengths{4, 0, 0}},
    {"Pop restores report ID",
     vendorCollection({0x85, 0x01, 0x75, 0x08, 0x95, 0x04, 0x81, 0x02, 0xA4, 0x85, 0x02, 0x95, 0x01, 0xB1,
                       0x02, 0xB4, 0x81, 0x02}),
     HidReportLengths{9, 0, 2}},
    // The payload would add a 64-byte input if it were mistaken for short items.
    {"long item skipped",
     vendorCollection({0x75, 0x08, 0x95, 0x01, 0xFE, 0x04, 0x00, 0x95, 0x40, 0x81, 0x02, 0x81, 0x02}),
     HidReportLengths{2, 0, 0}},
    {"four-byte data",
     vendorCollection({0x77, 0x08, 0x00, 0x00, 0x00, 0x97, 0x3F, 0x00, 0x00, 0x00, 0x91, 0x02}),
     HidReportLengths{0, 64, 0}},
    {"two-byte data is little-endian", vendorCollection({0x75, 0x08, 0x96, 0x02, 0x01, 0x81, 0x02}),
     HidReportLengths{259, 0, 0}},
    {"largest length that fits 16 bits", vendorCollection({0x75, 0x08, 0x96, 0xFE, 0xFF, 0x81, 0x02}),
     HidReportLengths{0xFFFF, 0, 0}},

    {"truncated item data", vendorCollection({0x75, 0x08, 0x95, 0x01, 0x81, 0x02}, {0x26, 0xFF}),
     std::nullopt},
    {"long item running past the end", vendorCollection({}, {0xFE, 0x05, 0x00, 0x01, 0x02}), std::nullopt},
    {"long item header cut", vendorCollection({}, {0xFE, 0x02}), std::nullopt},
    {"Pop with empty stack", vendorCollection({0xA4, 0xB4, 0xB4}), std::nullopt},
    {"End Collection with none open", vendorCollection({0xC0, 0xC0}), std::nullopt},
    {"collection left open", vendorCollection({0xA1, 0x00, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02}),
     std::nullopt},
    {"report ID 0", vendorCollection({0x85, 0x00, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02}), std::nullopt},
    {"report ID wider than a byte", vendorCollection({0x86, 0x01, 0x01}), std::nullopt},
    {"length one past 16 bits", vendorCollection({0x75, 0x08, 0x96, 0xFF, 0xFF, 0x81, 0x02}), std::nullopt},
    {"size times count overflows 32 bits",
     vendorCollection({0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0x81, 0x02}),
     std::nullopt},
    {"items that fit alone but not together",
     vendorCollection({0x75, 0x08, 0x96, 0x00, 0x80, 0x81, 0x02, 0x81, 0x02}), std::nullopt},
};

} // namespace

TEST(HidDescriptorParserHandWritten, LengthsOrRejection)
{
    for (const auto& c : kHandCases) {
        SCOPED_TRACE(c.what);
        const Bytes exact(c.descriptor);
        const auto lengths = HidDescriptorParser::reportLengths(exact);
        EXPECT_EQ(lengths.has_value(), c.expected.has_value());
        if (!lengths || !c.expected)
            continue;
        EXPECT_EQ(lengths->input, c.expected->input);
        EXPECT_EQ(lengths->output, c.expected->output);
        EXPECT_EQ(lengths->feature, c.expected->feature);
    }
}
