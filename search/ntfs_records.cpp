#include "ntfs_records.h"

#include <algorithm>

namespace dorvelix::ntfs {

namespace {

// What ntfs-3g keeps free in a folder's record for the index allocation
// and its bitmap while the index root grows.
constexpr std::int64_t RootMargin = 120;
// Resizes that call themselves more often than this have found a record
// the model does not know how to empty.
constexpr int DeepestResize = 64;

bool canBeNonResident(std::uint32_t type)
{
    return type == AttributeList || type == SecurityDescriptor || type == Data || type == IndexAllocation
           || type == Bitmap;
}

// A non-resident attribute's record length with one run.
std::int64_t nonResidentBytes(std::int64_t nameUnits)
{
    return 64 + align8(2 * nameUnits) + 8;
}

// An attribute list's entry for an attribute.
std::int64_t listEntryBytes(std::int64_t nameUnits)
{
    return align8(26 + 2 * nameUnits);
}

}  // namespace

RecordSet::RecordSet(std::int64_t recordBytes, std::int64_t clusterBytes, std::vector<Attribute> base)
    : recordBytes_(recordBytes), clusterBytes_(clusterBytes), firstAttribute_(firstAttributeOffset(recordBytes))
{
    for (Attribute& a : base)
        insert(a);
}

void RecordSet::insert(Attribute a)
{
    const auto at = std::upper_bound(attributes_.begin(), attributes_.end(), a.type,
                                     [](std::uint32_t type, const Attribute& o) { return type < o.type; });
    attributes_.insert(at, a);
}

Attribute* RecordSet::find(std::uint32_t type)
{
    for (Attribute& a : attributes_) {
        if (a.type == type)
            return &a;
    }
    return nullptr;
}

std::int64_t RecordSet::bytesInUse(int record) const
{
    std::int64_t bytes = firstAttribute_ + 8;  // the end marker
    for (const Attribute& a : attributes_)
        bytes += a.record == record ? a.length : 0;
    return bytes;
}

int RecordSet::attributesIn(int record) const
{
    return static_cast<int>(std::count_if(attributes_.begin(), attributes_.end(),
                                          [record](const Attribute& a) { return a.record == record; }));
}

bool RecordSet::makeNonResident(Attribute& a)
{
    const std::int64_t length = nonResidentBytes(a.nameUnits);
    if (bytesInUse(a.record) - a.length + length > recordBytes_)
        return false;
    a.length = length;
    a.nonResident = true;
    clusters_ += clustersOf(a.valueBytes);
    return true;
}

void RecordSet::growList(std::int64_t bytes)
{
    Attribute* list = hasList_ ? find(AttributeList) : nullptr;
    if (!list)
        return;
    const std::int64_t before = list->nonResident ? clustersOf(list->valueBytes) : 0;
    list->valueBytes += bytes;
    if (list->nonResident)
        clusters_ += clustersOf(list->valueBytes) - before;
    else if (resize(AttributeList, 24 + align8(list->valueBytes)) != Resize::Done)
        throw Unmodelled{};
}

void RecordSet::addList()
{
    std::int64_t bytes = 0;
    for (const Attribute& a : attributes_)
        bytes += listEntryBytes(a.nameUnits);
    hasList_ = true;
    freeSpace(24);
    insert({AttributeList, 24, 0, false, bytes, 0});
    if (resize(AttributeList, 24 + align8(bytes)) != Resize::Done)
        throw Unmodelled{};
}

void RecordSet::freeSpace(std::int64_t bytes)
{
    // The attributes after the file's name (never the index root) move
    // out, first to an extent record with room.
    while (room(0) < bytes) {
        const auto moved = std::find_if(attributes_.begin(), attributes_.end(), [](const Attribute& a) {
            return a.record == 0 && a.type >= FileName && a.type != IndexRoot;
        });
        if (moved == attributes_.end())
            throw Unmodelled{};
        int to = 1;
        while (to <= extents_ && room(to) < moved->length)
            ++to;
        moved->record = to <= extents_ ? to : newExtent();
    }
}

RecordSet::Resize RecordSet::resize(std::uint32_t type, std::int64_t length, int depth)
{
    Attribute* a = find(type);
    if (!a || depth > DeepestResize)
        throw Unmodelled{};
    const std::int64_t grown = bytesInUse(a->record) - a->length + length;
    if (grown <= recordBytes_) {
        // An index root must leave room for the index allocation to come.
        if (type == IndexRoot && length > a->length && grown + RootMargin > recordBytes_
            && bytesInUse(a->record) + RootMargin <= recordBytes_)
            return Resize::RootFull;
        a->length = length;
        return Resize::Done;
    }
    if (canBeNonResident(type) && makeNonResident(*a))
        return Resize::Done;
    // Other attributes of some length go non-resident, in type order.
    for (Attribute& o : attributes_) {
        if (o.nonResident || o.length <= 72 + align8(2 * o.nameUnits) || !canBeNonResident(o.type))
            continue;
        if (makeNonResident(o))
            return resize(type, length, depth + 1);
    }
    if (type == StandardInformation || type == AttributeList) {
        freeSpace(72 + 8);
        return resize(type, length, depth + 1);
    }
    if (attributesIn(a->record) == 1)
        return Resize::RootFull;
    if (!hasList_) {
        addList();
        return resize(type, length, depth + 1);
    }
    a->record = newExtent();
    return resize(type, length, depth + 1);
}

void RecordSet::add(Attribute attribute)
{
    const std::int64_t entry = listEntryBytes(attribute.nameUnits);
    for (int record = 0; record <= extents_; ++record) {
        if (room(record) >= attribute.length) {
            attribute.record = record;
            insert(attribute);
            growList(entry);
            return;
        }
    }
    if (!hasList_) {
        addList();
        add(attribute);
        return;
    }
    attribute.record = newExtent();
    if (attribute.length > room(attribute.record)) {
        if (!canBeNonResident(attribute.type))
            throw Unmodelled{};
        attribute.length = nonResidentBytes(attribute.nameUnits);
        attribute.nonResident = true;
        clusters_ += clustersOf(attribute.valueBytes);
    }
    insert(attribute);
    growList(entry);
}

void RecordSet::moveRootAway(std::int64_t length)
{
    if (!hasList_)
        addList();
    Attribute* root = find(IndexRoot);
    if (!root)
        throw Unmodelled{};
    int to = 1;
    while (to <= extents_ && (to == root->record || room(to) < length))
        ++to;
    root->record = to <= extents_ ? to : newExtent();
    root->length = length;
}

LinkRecords symbolicLinkRecords(std::int64_t recordBytes, std::int64_t clusterBytes, std::int64_t nameUnits,
                                std::int64_t targetUnits)
{
    // ntfs-3g adds the link's attributes in this order, its name last.
    RecordSet link(recordBytes, clusterBytes, {{StandardInformation, 72}});
    const std::int64_t data = 8 + 2 * targetUnits;
    try {
        link.add({SecurityDescriptor, SecurityDescriptorBytes, 0, false, SecurityDescriptorValue});
        link.add({Data, 24 + align8(data), 0, false, data});
        link.add({FileName, fileNameBytes(nameUnits)});
    } catch (const Unmodelled&) {
        // Two records, and the data, the security descriptor and an
        // attribute list in clusters of their own.
        return {2, 2 + (data + clusterBytes - 1) / clusterBytes};
    }
    return {link.records(), link.clusters()};
}

}  // namespace dorvelix::ntfs
