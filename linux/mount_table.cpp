#include "mount_table.h"

#include <QFile>
#include <algorithm>
#include <array>
#include <unordered_map>
#include <fcntl.h>
#include <unistd.h>

namespace dorvelix {

namespace {

// Decodes the octal escapes the kernel writes for space, tab, newline and
// backslash ("\040" ...).
std::string unescape(std::string_view field)
{
    std::string out;
    out.reserve(field.size());
    const auto isOctal = [](char c) { return c >= '0' && c <= '7'; };
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && isOctal(field[i + 1]) && isOctal(field[i + 2])
            && isOctal(field[i + 3])) {
            out += static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) | (field[i + 3] - '0'));
            i += 3;
            continue;
        }
        out += field[i];
    }
    return out;
}

std::vector<std::string_view> splitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    size_t pos = 0;
    while (pos < line.size()) {
        const size_t end = line.find(' ', pos);
        const size_t stop = end == std::string_view::npos ? line.size() : end;
        if (stop > pos)
            fields.push_back(line.substr(pos, stop - pos));
        pos = stop + 1;
    }
    return fields;
}

bool parseDevice(std::string_view field, unsigned& major, unsigned& minor)
{
    const size_t colon = field.find(':');
    if (colon == std::string_view::npos)
        return false;
    bool okMajor = false, okMinor = false;
    major = QByteArray(field.data(), static_cast<qsizetype>(colon)).toUInt(&okMajor);
    minor = QByteArray(field.data() + colon + 1, static_cast<qsizetype>(field.size() - colon - 1)).toUInt(&okMinor);
    return okMajor && okMinor;
}

}  // namespace

std::vector<MountEntry> parseMountInfo(std::string_view text)
{
    // ID PARENT MAJ:MIN ROOT MOUNTPOINT OPTIONS [OPTIONAL ...] - TYPE SOURCE SUPEROPTIONS
    std::vector<MountEntry> table;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t end = text.find('\n', pos);
        const std::string_view line = text.substr(pos, end == std::string_view::npos ? text.size() - pos : end - pos);
        pos = end == std::string_view::npos ? text.size() : end + 1;

        const std::vector<std::string_view> f = splitFields(line);
        const auto dash = std::find(f.begin(), f.end(), std::string_view("-"));
        if (f.size() < 6 || dash == f.end() || dash - f.begin() < 6 || f.end() - dash < 3)
            continue;
        MountEntry m;
        bool okId = false, okParent = false;
        m.id = QByteArray(f[0].data(), static_cast<qsizetype>(f[0].size())).toUInt(&okId);
        m.parentId = QByteArray(f[1].data(), static_cast<qsizetype>(f[1].size())).toUInt(&okParent);
        if (!okId || !okParent || !parseDevice(f[2], m.major, m.minor))
            continue;
        m.mountPoint = unescape(f[4]);
        m.fsType = unescape(dash[1]);
        m.source = unescape(dash[2]);
        if (f.end() - dash > 3)
            m.superOptions = unescape(dash[3]);
        table.push_back(std::move(m));
    }
    return table;
}

std::vector<MountEntry> visibleMounts(std::vector<MountEntry> table)
{
    std::unordered_map<unsigned, size_t> byId;
    std::unordered_map<std::string_view, std::vector<size_t>> byMountPoint;
    for (size_t i = 0; i < table.size(); ++i) {
        byId.emplace(table[i].id, i);
        byMountPoint[table[i].mountPoint].push_back(i);
    }
    // A path reaches mount i through i and the mounts it lies on. The table
    // lists mounts in the order they were made, except that a mount may come
    // before the one it lies on: so a later mount on the place of one of them,
    // or on a folder above it, covers mount i unless it is one of them itself.
    const auto reached = [&](size_t i) {
        std::vector<size_t> chain{i};
        for (auto it = byId.find(table[i].parentId); it != byId.end() && chain.size() <= table.size();
             it = byId.find(table[it->second].parentId))
            chain.push_back(it->second);
        for (const size_t k : chain) {
            const std::string_view place = table[k].mountPoint;
            for (size_t end = 1; end <= place.size(); ++end) {
                if (end > 1 && end < place.size() && place[end] != '/')
                    continue;
                const auto it = byMountPoint.find(place.substr(0, end));
                if (it == byMountPoint.end())
                    continue;
                for (const size_t j : it->second) {
                    if (j > k && std::find(chain.begin(), chain.end(), j) == chain.end())
                        return false;
                }
            }
        }
        return true;
    };
    std::vector<MountEntry> visible;
    visible.reserve(table.size());
    for (size_t i = 0; i < table.size(); ++i) {
        if (reached(i))
            visible.push_back(table[i]);
    }
    return visible;
}

std::vector<MountEntry> readMountTable()
{
    // The table is a seq_file of unknown size: read it to its end.
    QFile file(QStringLiteral("/proc/self/mountinfo"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray text = file.readAll();
    return parseMountInfo(std::string_view(text.constData(), static_cast<size_t>(text.size())));
}

bool isPseudoFileSystem(std::string_view fsType)
{
    static constexpr std::array<std::string_view, 33> pseudo{
        "proc", "sysfs", "cgroup", "cgroup2", "devpts", "devtmpfs", "mqueue", "debugfs", "tracefs",
        "securityfs", "pstore", "bpf", "binfmt_misc", "fusectl", "configfs", "hugetlbfs", "autofs",
        "efivarfs", "rpc_pipefs", "nsfs", "selinuxfs", "smackfs", "apparmorfs", "sockfs", "pipefs",
        "anon_inodefs", "cpuset", "nfsd", "rootfs", "binder", "usbfs", "xenfs", "ipathfs"};
    return std::find(pseudo.begin(), pseudo.end(), fsType) != pseudo.end();
}

bool mayStopAnswering(std::string_view fsType)
{
    static constexpr std::array<std::string_view, 10> served{
        "fuse", "fuseblk", "nfs", "nfs4", "cifs", "smb3", "9p", "ceph", "afs", "glusterfs"};
    return fsType.starts_with("fuse.") || std::find(served.begin(), served.end(), fsType) != served.end();
}

bool isUnder(std::string_view path, std::string_view mountPoint)
{
    if (mountPoint == "/")
        return !path.empty() && path.front() == '/';
    return path.starts_with(mountPoint) && (path.size() == mountPoint.size() || path[mountPoint.size()] == '/');
}

const MountEntry* mountHolding(const std::vector<MountEntry>& table, std::string_view path)
{
    const MountEntry* best = nullptr;
    for (const MountEntry& m : table) {
        // ">=": a later mount on the same place hides the earlier one.
        if (isUnder(path, m.mountPoint) && (!best || m.mountPoint.size() >= best->mountPoint.size()))
            best = &m;
    }
    return best;
}

MountTableChanges::MountTableChanges() : fd_(::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC)) {}

MountTableChanges::~MountTableChanges()
{
    if (fd_ >= 0)
        ::close(fd_);
}

}  // namespace dorvelix
