// The drive query: asks the volume about a drive and fills the drive panel,
// resetting the conversion cluster length to the drive's cluster length.
#pragma once

#include "form_state.h"
#include "results.h"
#include "volume_queries.h"
#include "window_services.h"

#include <QString>
#include <cstdint>
#include <string>

namespace dorvelix {

// The file-system name as the panel shows it: "FAT" becomes "FAT16".
QString panelFileSystemName(const QString& queried);

class DriveQuery {
public:
    DriveQuery(FormState& form, FormView& view, WindowServices& window, VolumeQueries& volumes);
    // Queries the drive of the drive text (the drive list's text) and fills the panel.
    // Returns false when the drive took the no-medium path.
    bool showDriveInfo(const QString& drive);

    // The figures of the last run, as the drive panel shows them.
    const DriveFigures& figures() const { return figures_; }

    // The drive values of the last query. Bytes per sector and sectors per
    // cluster are held in 64 bits so that no volume's figure can wrap.
    std::int64_t SectorsPerCluster = 0;
    std::int64_t BytesPerSector = 0;
    std::int64_t FreeBytesToCaller = 0;
    std::int64_t TotalBytes = 0;
    std::int64_t TotalFreeBytes = 0;
    QString FileSystemNameBuffer;
    std::int32_t DriveQueryResult = 0;

private:
    void directPath();
    void fat32Path(const std::string& root);
    void commonTail();
    void noMedium(const QString& drive);

    void setRatio(float free, float total);

    FormState& form_;
    FormView& view_;
    WindowServices& window_;
    VolumeQueries& volumes_;
    DriveFigures figures_;
};

}  // namespace dorvelix
