#include "f2fs_volume.h"

#include "fat_volume.h"

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace dorvelix {

namespace {

constexpr std::uint32_t SuperblockMagic = 0xF2F52010;
constexpr std::size_t SuperblockAt = 1024;
constexpr std::size_t LogBlockBytesAt = SuperblockAt + 16;
constexpr std::size_t FeaturesAt = SuperblockAt + 2180;
constexpr std::uint32_t ExtraAttrFeature = 0x8;
constexpr std::uint32_t FlexibleInlineXattrFeature = 0x40;
constexpr std::uint32_t CompressionFeature = 0x2000;

// An inode's data addresses before any room is taken from them, and the
// room new inodes give inline xattrs unless inline_xattr_size= says
// otherwise (both in 4-byte addresses).
constexpr std::int64_t AddressesOfABareInode = 923;
constexpr std::int64_t DefaultInlineXattrAddresses = 50;
constexpr std::int64_t ExtraAttributeBytes = 36;

std::uint32_t little32(const unsigned char* p)
{
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// The options of a mount, one at a time: whether the one named is set, and
// the value of one given as name=value.
bool hasOption(std::string_view options, std::string_view name)
{
    while (!options.empty()) {
        const size_t comma = options.find(',');
        if (options.substr(0, comma) == name)
            return true;
        options = comma == std::string_view::npos ? std::string_view() : options.substr(comma + 1);
    }
    return false;
}

std::optional<std::int64_t> optionNumber(std::string_view options, std::string_view name)
{
    while (!options.empty()) {
        const size_t comma = options.find(',');
        const std::string_view option = options.substr(0, comma);
        if (option.size() > name.size() && option.starts_with(name) && option[name.size()] == '=') {
            std::int64_t value = 0;
            const std::string_view digits = option.substr(name.size() + 1);
            const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
            if (error == std::errc() && end == digits.data() + digits.size())
                return value;
        }
        options = comma == std::string_view::npos ? std::string_view() : options.substr(comma + 1);
    }
    return std::nullopt;
}

std::optional<F2fsFeatures> superblockFeatures(const std::string& source)
{
    if (source.empty() || source.front() != '/')
        return std::nullopt;
    const VolumeFile volume(source);
    unsigned char block[4096];
    if (!volume || ::pread(volume.fd(), block, sizeof block, 0) != static_cast<ssize_t>(sizeof block))
        return std::nullopt;
    return parseF2fsSuperblock(block, sizeof block);
}

// The disk's name under /sys/fs/f2fs: the source device's own name, links
// ("/dev/disk/by-label/x", "/dev/mapper/x") resolved.
std::optional<F2fsFeatures> sysfsFeatures(const std::string& source)
{
    char* real = source.empty() ? nullptr : ::realpath(source.c_str(), nullptr);
    if (!real)
        return std::nullopt;
    const std::string device(real);
    std::free(real);
    std::ifstream file("/sys/fs/f2fs/" + device.substr(device.rfind('/') + 1) + "/features");
    if (!file)
        return std::nullopt;
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return parseF2fsFeatureList(text);
}

}  // namespace

std::optional<F2fsFeatures> parseF2fsSuperblock(const unsigned char* block, std::size_t size)
{
    if (size < FeaturesAt + 4 || little32(block + SuperblockAt) != SuperblockMagic
        || little32(block + LogBlockBytesAt) != 12)
        return std::nullopt;
    const std::uint32_t features = little32(block + FeaturesAt);
    return F2fsFeatures{(features & ExtraAttrFeature) != 0, (features & FlexibleInlineXattrFeature) != 0,
                        (features & CompressionFeature) != 0};
}

F2fsFeatures parseF2fsFeatureList(std::string_view text)
{
    F2fsFeatures features;
    // Names separated by commas, spaces or line ends, by kernel version.
    while (!text.empty()) {
        const size_t start = text.find_first_not_of(", \n\t");
        if (start == std::string_view::npos)
            break;
        text.remove_prefix(start);
        const std::string_view name = text.substr(0, text.find_first_of(", \n\t"));
        features.extraAttributes |= name == "extra_attr";
        features.flexibleInlineXattr |= name == "flexible_inline_xattr";
        features.compression |= name == "compression";
        text.remove_prefix(name.size());
    }
    return features;
}

F2fsVolume f2fsLayout(const F2fsFeatures& features, std::string_view options)
{
    // Inline xattrs, data and dentries are on unless switched off.
    const bool inlineXattr = !hasOption(options, "noinline_xattr");
    const bool inlineData = !hasOption(options, "noinline_data");
    const bool inlineDentry = !hasOption(options, "noinline_dentry");
    const std::int64_t extra = features.extraAttributes ? ExtraAttributeBytes / 4 : 0;
    // The room for inline xattrs: inline_xattr_size= where the volume lets
    // it be chosen; else the default, which a folder with inline dentries
    // keeps even without inline xattrs.
    std::int64_t fileXattr = 0, folderXattr = 0;
    if (features.flexibleInlineXattr) {
        fileXattr = inlineXattr ? optionNumber(options, "inline_xattr_size").value_or(DefaultInlineXattrAddresses) : 0;
        folderXattr = fileXattr;
    } else {
        fileXattr = inlineXattr ? DefaultInlineXattrAddresses : 0;
        folderXattr = inlineXattr || inlineDentry ? DefaultInlineXattrAddresses : 0;
    }
    F2fsVolume volume;
    volume.addressesInInode = AddressesOfABareInode - extra - fileXattr;
    volume.folderAddressesInInode = AddressesOfABareInode - extra - folderXattr;
    // One address of the inline area stays reserved.
    volume.inlineDataBytes = inlineData ? 4 * (volume.addressesInInode - 1) : 0;
    volume.inlineDentries = inlineDentry;
    volume.compression = features.compression;
    return volume;
}

std::optional<F2fsVolume> f2fsVolumeOf(const MountEntry& mount, const struct statvfs& vfs)
{
    // The layout counted here is that of 4 KiB blocks.
    if (mount.fsType != "f2fs" || vfs.f_frsize != 4096)
        return std::nullopt;
    auto features = superblockFeatures(mount.source);
    if (!features)
        features = sysfsFeatures(mount.source);
    if (features)
        return f2fsLayout(*features, mount.superOptions);
    // Features unknown: the extended inode, which leaves the least room for
    // addresses and inline data, and the fixed inline xattr room that
    // folders keep.
    F2fsVolume volume = f2fsLayout(F2fsFeatures{true, false, true}, mount.superOptions);
    volume.featuresRead = false;
    return volume;
}

}  // namespace dorvelix
