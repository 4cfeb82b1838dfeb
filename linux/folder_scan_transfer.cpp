// A scan carried between two processes of this build: the reader, which
// lists and measures the folders of a drive that may stop answering, and
// the walk that books them. Both sides are the same program, so plain
// values travel as their bytes; names travel one by one and are packed
// again into buffers of at most 64 KiB on arrival.
#include "folder_scan.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>

namespace dorvelix {

namespace {

constexpr std::uint32_t ScanMark = 0x44565331;  // "DVS1"

template <class T>
void put(std::string& bytes, const T& value)
{
    static_assert(std::is_trivially_copyable_v<T>);
    bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
}

void putText(std::string& bytes, std::string_view text)
{
    put(bytes, static_cast<std::uint32_t>(text.size()));
    bytes.append(text);
}

// Reads values back in the order they were put; once anything is missing
// every later read fails too.
class Taker {
public:
    explicit Taker(std::string_view bytes) : rest_(bytes) {}
    template <class T>
    bool take(T& value)
    {
        static_assert(std::is_trivially_copyable_v<T>);
        if (rest_.size() < sizeof value)
            return ok_ = false;
        std::memcpy(&value, rest_.data(), sizeof value);
        rest_.remove_prefix(sizeof value);
        return ok_;
    }
    bool takeView(std::string_view& view, size_t size)
    {
        if (!ok_ || rest_.size() < size)
            return ok_ = false;
        view = rest_.substr(0, size);
        rest_.remove_prefix(size);
        return true;
    }
    bool takeText(std::string& text)
    {
        std::uint32_t size = 0;
        std::string_view view;
        if (!take(size) || !takeView(view, size))
            return false;
        text.assign(view);
        return true;
    }
    bool ok() const { return ok_; }
    std::string_view rest() const { return rest_; }
    bool atEnd() const { return ok_ && rest_.empty(); }

private:
    std::string_view rest_;
    bool ok_ = true;
};

}  // namespace

void FolderScan::appendTo(std::string& bytes) const
{
    put(bytes, ScanMark);
    putText(bytes, path_);
    putText(bytes, realPath_);
    put(bytes, static_cast<unsigned char>(isRoot_));
    put(bytes, static_cast<unsigned char>(keepsCreationOrder_));
    for (const std::vector<FolderEntry>* list : {&folders_, &files_}) {
        put(bytes, static_cast<std::uint32_t>(list->size()));
        for (const FolderEntry& e : *list) {
            put(bytes, e.kind);
            put(bytes, e.nameSize);
            bytes.append(cName(e), e.nameSize);
        }
    }
    put(bytes, static_cast<std::uint32_t>(created_.size()));
    bytes.append(reinterpret_cast<const char*>(created_.data()), created_.size() * sizeof(Created));
    appendLengthsTo(bytes);
}

void appendLengths(std::string& bytes, std::span<const long long> lengths,
                   std::span<const std::pair<std::uint32_t, FileIdentity>> links)
{
    put(bytes, static_cast<std::uint32_t>(lengths.size()));
    bytes.append(reinterpret_cast<const char*>(lengths.data()), lengths.size_bytes());
    put(bytes, static_cast<std::uint32_t>(links.size()));
    for (const auto& [file, identity] : links) {
        put(bytes, file);
        put(bytes, identity);
    }
}

void FolderScan::appendLengthsTo(std::string& bytes) const
{
    const std::lock_guard lock(linksMutex_);
    appendLengths(bytes, {lengths_.get(), files_.size()}, links_);
}

bool FolderScan::takeLengths(std::string_view bytes) const
{
    Taker in(bytes);
    std::uint32_t count = 0;
    std::string_view lengths;
    if (!in.take(count) || count != files_.size() || !in.takeView(lengths, size_t{count} * sizeof(long long)))
        return false;
    std::uint32_t linkCount = 0;
    if (!in.take(linkCount))
        return false;
    std::vector<std::pair<std::uint32_t, FileIdentity>> links(linkCount);
    for (auto& [file, identity] : links) {
        if (!in.take(file) || !in.take(identity) || file >= count)
            return false;
    }
    if (!in.atEnd())
        return false;
    if (count > 0)
        std::memcpy(lengths_.get(), lengths.data(), lengths.size());
    if (!links.empty()) {
        const std::lock_guard lock(linksMutex_);
        links_ = std::move(links);
        linksSorted_ = false;
        hasLinks_.store(true, std::memory_order_release);
    }
    return true;
}

std::shared_ptr<FolderScan> FolderScan::fromBytes(std::string_view bytes, const FolderScan* parent)
{
    std::shared_ptr<FolderScan> scan(new FolderScan);
    Taker in(bytes);
    std::uint32_t mark = 0;
    unsigned char isRoot = 0;
    unsigned char keeps = 0;
    if (!in.take(mark) || mark != ScanMark || !in.takeText(scan->path_) || !in.takeText(scan->realPath_)
        || !in.take(isRoot) || !in.take(keeps))
        return nullptr;
    scan->isRoot_ = isRoot != 0;
    scan->keepsCreationOrder_ = keeps != 0;
    // Names are packed into buffers of at most 64 KiB, as a listing call's.
    constexpr size_t BufferSize = 64 * 1024;
    std::string gathered;
    const auto flush = [&] {
        if (gathered.empty())
            return;
        std::unique_ptr<char, Free> chunk(static_cast<char*>(std::malloc(gathered.size())));
        if (!chunk)
            throw std::bad_alloc();
        std::memcpy(chunk.get(), gathered.data(), gathered.size());
        scan->nameBytes_ += gathered.size();
        scan->names_.push_back(std::move(chunk));
        gathered.clear();
    };
    for (std::vector<FolderEntry>* list : {&scan->folders_, &scan->files_}) {
        std::uint32_t count = 0;
        if (!in.take(count))
            return nullptr;
        list->reserve(count);
        for (std::uint32_t i = 0; i < count; ++i) {
            FolderEntry e{};
            std::string_view name;
            if (!in.take(e.kind) || !in.take(e.nameSize) || !in.takeView(name, e.nameSize) || name.empty())
                return nullptr;
            if (gathered.size() + name.size() + 1 > BufferSize)
                flush();
            if (scan->names_.size() > 0xFFFF)
                throw std::bad_alloc();
            e.nameAt = static_cast<std::uint32_t>(scan->names_.size()) << 16 | static_cast<std::uint32_t>(gathered.size());
            gathered.append(name);
            gathered.push_back('\0');
            list->push_back(e);
        }
    }
    flush();
    std::uint32_t created = 0;
    std::string_view createdBytes;
    if (!in.take(created) || !in.takeView(createdBytes, size_t{created} * sizeof(Created)))
        return nullptr;
    scan->created_.resize(created);
    if (created > 0)
        std::memcpy(scan->created_.data(), createdBytes.data(), createdBytes.size());
    for (const Created& c : scan->created_) {
        const bool folder = (c.entry & FolderBit) != 0;
        if ((c.entry & ~FolderBit) >= (folder ? scan->folders_.size() : scan->files_.size()))
            return nullptr;
    }
    if (!scan->files_.empty()) {
        scan->lengths_ = std::make_unique_for_overwrite<long long[]>(scan->files_.size());
        std::fill_n(scan->lengths_.get(), scan->files_.size(), NotQueried);
    }
    // The lengths and links come last, in the form takeLengths reads.
    if (!in.ok() || !scan->takeLengths(in.rest()))
        return nullptr;
    scan->boundaries_ = parent && parent->boundaries_ ? parent->boundaries_ : MountBoundaries::current();
    return scan;
}

}  // namespace dorvelix
