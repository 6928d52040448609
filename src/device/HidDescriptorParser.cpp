#include "device/HidDescriptorParser.h"

#include <array>
#include <cstddef>
#include <vector>

namespace {

enum class ItemType : std::uint8_t
{
    Main = 0,
    Global = 1,
    Local = 2,
    Reserved = 3
};

namespace MainTag {
constexpr std::uint8_t Input = 0x8;
constexpr std::uint8_t Output = 0x9;
constexpr std::uint8_t Collection = 0xA;
constexpr std::uint8_t Feature = 0xB;
constexpr std::uint8_t EndCollection = 0xC;
} // namespace MainTag

namespace GlobalTag {
constexpr std::uint8_t ReportSize = 0x7;
constexpr std::uint8_t ReportId = 0x8;
constexpr std::uint8_t ReportCount = 0x9;
constexpr std::uint8_t Push = 0xA;
constexpr std::uint8_t Pop = 0xB;
} // namespace GlobalTag

constexpr std::uint8_t kLongItemPrefix = 0xFE;

// The largest report body whose length, with its ID byte, still fits the 16-bit lengths.
constexpr std::uint64_t kMaxReportBits = std::uint64_t{0xFFFFu - 1u} * 8u;

// Only the globals that shape report lengths are kept; the others are read past like local items.
struct GlobalState
{
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
    std::uint8_t reportId = 0;
};

struct Item
{
    ItemType type = ItemType::Main;
    std::uint8_t tag = 0;
    std::uint32_t data = 0;
    std::size_t dataSize = 0;
};

// One report per ID per direction; ID 0 stands for the descriptor's unnumbered report.
class ReportTable
{
public:
    bool add(std::size_t direction, const GlobalState& state)
    {
        const std::uint64_t itemBits = std::uint64_t{state.reportSize} * state.reportCount;
        std::uint64_t& bits = bits_[direction][state.reportId];
        // bits never exceeds the limit, so the subtraction cannot wrap.
        if (itemBits > kMaxReportBits - bits)
            return false;
        bits += itemBits;
        declared_[direction][state.reportId] = true;
        return true;
    }

    std::uint16_t byteLength(std::size_t direction) const
    {
        std::uint16_t longest = 0;
        for (std::size_t id = 0; id < kIds; ++id) {
            // A report declared only by zero-width items still occupies its ID byte.
            if (!declared_[direction][id])
                continue;
            const auto bytes = static_cast<std::uint16_t>((bits_[direction][id] + 7u) / 8u + 1u);
            if (bytes > longest)
                longest = bytes;
        }
        return longest;
    }

private:
    static constexpr std::size_t kIds = 256;
    static constexpr std::size_t kDirections = 3;
    std::array<std::array<std::uint64_t, kIds>, kDirections> bits_{};
    std::array<std::array<bool, kIds>, kDirections> declared_{};
};

constexpr std::size_t kInput = 0;
constexpr std::size_t kOutput = 1;
constexpr std::size_t kFeature = 2;

// Reads the item at `pos` and advances past it; nullopt when the item runs past the end.
std::optional<Item> nextItem(std::span<const std::uint8_t> bytes, std::size_t& pos)
{
    const std::size_t remaining = bytes.size() - pos;
    const std::uint8_t prefix = bytes[pos];

    if (prefix == kLongItemPrefix) {
        // Long items carry no length-relevant meaning; their payload is only stepped over.
        if (remaining < 3)
            return std::nullopt;
        const std::size_t payload = bytes[pos + 1];
        if (remaining - 3 < payload)
            return std::nullopt;
        const Item item{ItemType::Reserved, bytes[pos + 2], 0, payload};
        pos += 3 + payload;
        return item;
    }

    static constexpr std::array<std::size_t, 4> kShortSizes{0, 1, 2, 4};
    Item item;
    item.dataSize = kShortSizes[prefix & 0x3u];
    item.type = static_cast<ItemType>((prefix >> 2) & 0x3u);
    item.tag = static_cast<std::uint8_t>(prefix >> 4);
    if (remaining - 1 < item.dataSize)
        return std::nullopt;
    for (std::size_t i = 0; i < item.dataSize; ++i)
        item.data |= std::uint32_t{bytes[pos + 1 + i]} << (8u * i);
    pos += 1 + item.dataSize;
    return item;
}

} // namespace

std::optional<HidReportLengths> HidDescriptorParser::reportLengths(std::span<const std::uint8_t> descriptor)
{
    GlobalState globals;
    std::vector<GlobalState> pushed;
    std::size_t collectionDepth = 0;
    ReportTable reports;

    std::size_t pos = 0;
    while (pos < descriptor.size()) {
        const std::optional<Item> item = nextItem(descriptor, pos);
        if (!item)
            return std::nullopt;

        if (item->type == ItemType::Global) {
            switch (item->tag) {
            case GlobalTag::ReportSize:
                globals.reportSize = item->data;
                break;
            case GlobalTag::ReportCount:
                globals.reportCount = item->data;
                break;
            case GlobalTag::ReportId:
                // ID 0 is reserved for "no ID" and the ID travels in a single byte.
                if (item->data == 0 || item->data > 0xFF)
                    return std::nullopt;
                globals.reportId = static_cast<std::uint8_t>(item->data);
                break;
            case GlobalTag::Push:
                pushed.push_back(globals);
                break;
            case GlobalTag::Pop:
                if (pushed.empty())
                    return std::nullopt;
                globals = pushed.back();
                pushed.pop_back();
                break;
            default:
                break;
            }
        } else if (item->type == ItemType::Main) {
            switch (item->tag) {
            case MainTag::Input:
                if (!reports.add(kInput, globals))
                    return std::nullopt;
                break;
            case MainTag::Output:
                if (!reports.add(kOutput, globals))
                    return std::nullopt;
                break;
            case MainTag::Feature:
                if (!reports.add(kFeature, globals))
                    return std::nullopt;
                break;
            case MainTag::Collection:
                ++collectionDepth;
                break;
            case MainTag::EndCollection:
                if (collectionDepth == 0)
                    return std::nullopt;
                --collectionDepth;
                break;
            default:
                break;
            }
        }
    }

    if (collectionDepth != 0)
        return std::nullopt;

    return HidReportLengths{reports.byteLength(kInput), reports.byteLength(kOutput),
                            reports.byteLength(kFeature)};
}
