// The drive query: asks the volume about a drive and fills the drive panel,
// resetting the conversion cluster length to the drive's cluster length.
#pragma once

#include "form_state.h"
#include "window_services.h"

#include <QString>
#include <cstdint>
#include <string>

namespace dorvelix {

// The three volume queries, answered on Linux by statvfs, the mount table and
// sysfs; tests hand in figures of their own.
class VolumeQueries {
public:
    virtual ~VolumeQueries() = default;
    struct FreeSpace {
        std::int64_t sectorsPerCluster = 0;
        std::int64_t bytesPerSector = 0;
        std::int64_t freeClusters = 0;
        std::int64_t totalClusters = 0;
    };
    struct FreeSpaceEx {
        std::int64_t freeBytesToCaller = 0;
        std::int64_t totalBytes = 0;
        std::int64_t totalFreeBytes = 0;
    };
    // Each returns false when the query fails.
    virtual bool diskFreeSpace(const std::string& root, FreeSpace& out) = 0;
    virtual bool diskFreeSpaceEx(const std::string& root, FreeSpaceEx& out) = 0;
    virtual bool fileSystemName(const std::string& root, QString& out) = 0;
};

// VolumeQueries of the running system.
VolumeQueries& systemVolumes();

class DriveQuery {
public:
    DriveQuery(FormState& form, FormView& view, WindowServices& window, VolumeQueries& volumes);
    // Queries the drive of the drive text (Drive1's text) and fills the panel.
    // Returns false when the drive took the no-medium path.
    bool ShowDriveInfo(const QString& drive);

private:
    FormState& form_;
    FormView& view_;
    WindowServices& window_;
    VolumeQueries& volumes_;
    // Values of the last successful query (the panel keeps showing them).
    // The implementation may add what it needs here.
};

}  // namespace dorvelix
