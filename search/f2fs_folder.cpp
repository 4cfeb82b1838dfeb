#include "f2fs_folder.h"

#include <set>

namespace dorvelix::f2fs {

namespace {

// Levels beyond this one keep the same number of buckets, of four blocks.
constexpr int WideLevel = 31;
// The deepest hash level a folder has.
constexpr int DeepestLevel = 63;

// Packs a name's next 16 bytes into four words as the hash reads them:
// each word starts from the name's remaining length repeated in its bytes.
std::array<std::uint32_t, 4> hashWords(const unsigned char* bytes, std::size_t remaining)
{
    std::uint32_t pad = static_cast<std::uint32_t>(remaining) | (static_cast<std::uint32_t>(remaining) << 8);
    pad |= pad << 16;
    std::array<std::uint32_t, 4> words{pad, pad, pad, pad};
    const std::size_t count = remaining < 16 ? remaining : 16;
    std::uint32_t value = pad;
    for (std::size_t i = 0; i < count; ++i) {
        if (i % 4 == 0)
            value = pad;
        value = bytes[i] + (value << 8);
        words[i / 4] = value;
    }
    return words;
}

// Sixteen rounds of TEA mixing words into the running hash.
void teaMix(std::array<std::uint32_t, 4>& hash, const std::array<std::uint32_t, 4>& in)
{
    constexpr std::uint32_t Delta = 0x9E3779B9;
    std::uint32_t sum = 0, b0 = hash[0], b1 = hash[1];
    for (int round = 0; round < 16; ++round) {
        sum += Delta;
        b0 += ((b1 << 4) + in[0]) ^ (b1 + sum) ^ ((b1 >> 5) + in[1]);
        b1 += ((b0 << 4) + in[2]) ^ (b0 + sum) ^ ((b0 >> 5) + in[3]);
    }
    hash[0] += b0;
    hash[1] += b1;
}

std::int64_t levelBuckets(int level)
{
    return level < WideLevel ? std::int64_t{1} << level : std::int64_t{1} << (WideLevel - 1);
}

std::int64_t bucketBlocks(int level)
{
    return level < WideLevel ? 2 : 4;
}

// The first block of a bucket of a level: the levels above it come first.
std::int64_t bucketStart(int level, std::int64_t bucket)
{
    std::int64_t start = 0;
    for (int l = 0; l < level; ++l)
        start += levelBuckets(l) * bucketBlocks(l);
    return start + bucket * bucketBlocks(level);
}

}  // namespace

std::uint32_t nameHash(std::string_view name)
{
    if (name == "." || name == "..")
        return 0;
    std::array<std::uint32_t, 4> hash{0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
    const auto* bytes = reinterpret_cast<const unsigned char*>(name.data());
    std::size_t remaining = name.size();
    while (true) {
        teaMix(hash, hashWords(bytes, remaining));
        bytes += 16;
        if (remaining <= 16)
            break;
        remaining -= 16;
    }
    return hash[0];
}

std::int64_t fileNodeBlocks(std::int64_t blocks, std::int64_t addressesInInode)
{
    if (blocks <= addressesInInode)
        return 0;
    std::int64_t rest = blocks - addressesInInode;
    // Two direct nodes, then two indirect ones of 1,018 direct nodes each,
    // then one double indirect one.
    if (rest <= 2 * AddressesPerBlock)
        return (rest + AddressesPerBlock - 1) / AddressesPerBlock;
    std::int64_t nodes = 2;
    rest -= 2 * AddressesPerBlock;
    constexpr std::int64_t PerIndirect = AddressesPerBlock * NodeIdsPerBlock;
    for (int indirect = 0; indirect < 2 && rest > 0; ++indirect) {
        const std::int64_t part = rest < PerIndirect ? rest : PerIndirect;
        nodes += 1 + (part + AddressesPerBlock - 1) / AddressesPerBlock;
        rest -= part;
    }
    if (rest > 0)
        nodes += 1 + (rest + PerIndirect - 1) / PerIndirect + (rest + AddressesPerBlock - 1) / AddressesPerBlock;
    return nodes;
}

FolderBlocks::FolderBlocks(int inlineSlots) : inlineSlots_(inlineSlots)
{
    // "." and ".." take the first two slots, inline or in block 0.
    if (inlineSlots_ > 0) {
        take(inline_, 0, 2);
    } else {
        take(blocks_[0], 0, 2);
        depth_ = 1;
    }
}

void FolderBlocks::add(std::string_view name)
{
    const int need = nameSlots(name.size());
    if (blocks_.empty()) {
        const int at = firstFreeRun(inline_, inlineSlots_, need);
        if (at >= 0) {
            take(inline_, at, need);
            return;
        }
        // The inline area is full: its slots move as they are into block 0.
        blocks_[0] = inline_;
        depth_ = 1;
    }
    addHashed(name, need);
}

// A name goes into the first block of its bucket, level by level, that has
// a run of free slots for it; a block tried is made where it was missing.
void FolderBlocks::addHashed(std::string_view name, int need)
{
    const std::uint32_t hash = nameHash(name);
    int depth = depth_;
    for (int level = 0; level < DeepestLevel; ++level) {
        if (level == depth)
            ++depth;
        const std::int64_t first = bucketStart(level, hash % levelBuckets(level));
        for (std::int64_t block = first; block < first + bucketBlocks(level); ++block) {
            Slots& slots = blocks_[block];
            const int at = firstFreeRun(slots, SlotsPerBlock, need);
            if (at >= 0) {
                take(slots, at, need);
                depth_ = depth;
                return;
            }
        }
    }
}

int FolderBlocks::firstFreeRun(const Slots& slots, int count, int need)
{
    int run = 0;
    for (int i = 0; i < count; ++i) {
        if (slots[i / 64] >> (i % 64) & 1) {
            run = 0;
        } else if (++run == need) {
            return i - need + 1;
        }
    }
    return -1;
}

void FolderBlocks::take(Slots& slots, int at, int need)
{
    for (int i = at; i < at + need; ++i)
        slots[i / 64] |= std::uint64_t{1} << (i % 64);
}

std::int64_t FolderBlocks::nodeBlocks(std::int64_t addressesInInode) const
{
    // Each distinct direct, indirect or double indirect node that a block's
    // address lies in counts once; the kind sits in the key's top bits.
    constexpr std::int64_t PerIndirect = AddressesPerBlock * NodeIdsPerBlock;
    constexpr std::int64_t Direct = std::int64_t{1} << 56, Indirect = std::int64_t{2} << 56,
                           DirectUnderIndirect = std::int64_t{3} << 56, DoubleIndirect = std::int64_t{4} << 56,
                           IndirectUnderDouble = std::int64_t{5} << 56, DirectUnderDouble = std::int64_t{6} << 56;
    std::set<std::int64_t> nodes;
    for (const auto& [index, slots] : blocks_) {
        if (index < addressesInInode)
            continue;
        std::int64_t rest = index - addressesInInode;
        if (rest < 2 * AddressesPerBlock) {
            nodes.insert(Direct | rest / AddressesPerBlock);
            continue;
        }
        rest -= 2 * AddressesPerBlock;
        if (rest < 2 * PerIndirect) {
            nodes.insert(Indirect | rest / PerIndirect);
            nodes.insert(DirectUnderIndirect | rest / AddressesPerBlock);
            continue;
        }
        rest -= 2 * PerIndirect;
        nodes.insert(DoubleIndirect);
        nodes.insert(IndirectUnderDouble | rest / PerIndirect);
        nodes.insert(DirectUnderDouble | rest / AddressesPerBlock);
    }
    return static_cast<std::int64_t>(nodes.size());
}

}  // namespace dorvelix::f2fs
