// The MFT records of one new file as ntfs-3g fills them: which attributes lie
// in its base record and which it moves to extent records, which it makes
// non-resident (taking clusters) when a record runs out of room, and when it
// adds an attribute list. Sizes are the attributes' bytes in their records,
// multiples of 8.
#pragma once

#include <cstdint>
#include <vector>

namespace dorvelix {

namespace ntfs {

enum AttributeType : std::uint32_t {
    StandardInformation = 0x10,
    AttributeList = 0x20,
    FileName = 0x30,
    SecurityDescriptor = 0x50,
    Data = 0x80,
    IndexRoot = 0x90,
    IndexAllocation = 0xA0,
    Bitmap = 0xB0,
};

constexpr std::int64_t align8(std::int64_t v) { return (v + 7) & ~std::int64_t{7}; }

// Where a record's attributes start: after its header and its update
// sequence array (56 bytes for records of 1,024 bytes, 72 for 4,096).
constexpr std::int64_t firstAttributeOffset(std::int64_t recordBytes) { return align8(48 + 2 * (recordBytes / 512 + 1)); }

// A $FILE_NAME attribute for a name of so many UTF-16 units.
constexpr std::int64_t fileNameBytes(std::int64_t units) { return 24 + align8(66 + 2 * units); }

// ntfs-3g's default security descriptor ("everyone full access"), resident
// in every new record, and its value's length.
constexpr std::int64_t SecurityDescriptorBytes = 104;
constexpr std::int64_t SecurityDescriptorValue = 80;

// What the model does not cover (a record holding nothing it can move);
// the caller then counts by a bound.
struct Unmodelled {};

struct Attribute {
    std::uint32_t type = 0;
    std::int64_t length = 0;      // bytes in its record
    std::int64_t nameUnits = 0;   // "$I30": 4
    bool nonResident = false;
    std::int64_t valueBytes = 0;  // what it costs in clusters once non-resident
    int record = 0;               // 0: the base record, else an extent record
};

class RecordSet {
public:
    // A new file whose base record holds these attributes.
    RecordSet(std::int64_t recordBytes, std::int64_t clusterBytes, std::vector<Attribute> base);

    enum class Resize { Done, RootFull };

    // Adds a new attribute to the first record with room for it (an extent
    // record, with an attribute list, where none has room).
    void add(Attribute attribute);
    // Grows (or shrinks) a resident attribute to length bytes: makes other
    // attributes non-resident or moves it to an extent record where its
    // record has no room. RootFull: an index root that must give its
    // entries to an index block instead.
    Resize resize(std::uint32_t type, std::int64_t length, int depth = 0);
    Attribute* find(std::uint32_t type);
    // Moves the index root to an extent record with room for it (another one
    // than its own), with an attribute list.
    void moveRootAway(std::int64_t length);

    std::int64_t recordBytes() const { return recordBytes_; }
    std::int64_t records() const { return 1 + extents_; }
    std::int64_t extraRecords() const { return extents_; }
    // Clusters of the attributes made non-resident on the way.
    std::int64_t clusters() const { return clusters_; }
    std::int64_t bytesInUse(int record) const;

private:
    std::int64_t clustersOf(std::int64_t bytes) const { return (bytes + clusterBytes_ - 1) / clusterBytes_; }
    std::int64_t room(int record) const { return recordBytes_ - bytesInUse(record); }
    int attributesIn(int record) const;
    int newExtent() { return ++extents_; }
    bool makeNonResident(Attribute& a);
    void growList(std::int64_t bytes);
    void addList();
    void freeSpace(std::int64_t bytes);
    void insert(Attribute a);

    std::int64_t recordBytes_;
    std::int64_t clusterBytes_;
    std::int64_t firstAttribute_;
    std::vector<Attribute> attributes_;  // by type
    int extents_ = 0;
    std::int64_t clusters_ = 0;
    bool hasList_ = false;
};

// The records and clusters of a symbolic link: ntfs-3g stores its target as
// an 8-byte tag and the target in UTF-16 in the link's data.
struct LinkRecords {
    std::int64_t records = 1;
    std::int64_t clusters = 0;
};
LinkRecords symbolicLinkRecords(std::int64_t recordBytes, std::int64_t clusterBytes, std::int64_t nameUnits,
                                std::int64_t targetUnits);

}  // namespace ntfs

}  // namespace dorvelix
