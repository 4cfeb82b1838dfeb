// The drive query: asks the volume about a drive and fills the drive panel,
// resetting the conversion cluster length to the drive's cluster length.
#pragma once

#include "form_state.h"
#include "volume_queries.h"
#include "window_services.h"

#include <QString>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace dorvelix {

class DriveQuery {
public:
    DriveQuery(FormState& form, FormView& view, WindowServices& window, VolumeQueries& volumes);
    // Queries the drive of the drive text (Drive1's text) and fills the panel.
    // Returns false when the drive took the no-medium path.
    bool ShowDriveInfo(const QString& drive);

    // What the last run put into the value boxes, for callers without a
    // display: the whole number a box shows (nothing when the run did not
    // fill it), and the free ratio as a fraction.
    std::optional<long long> shownNumber(int textNumber) const;
    std::optional<float> shownFreeRatio() const { return shownFreeRatio_; }
    const QString& shownFileSystem() const { return shownFileSystem_; }

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

    void showText(int textNumber, const QString& text);
    void showWhole(int textNumber, long long value);
    void showWhole(int textNumber, double value);
    // a × b × c, exact in 64 bits, in double precision beyond them.
    void showProduct(int textNumber, std::int64_t a, std::int64_t b, std::int64_t c);
    void showRatio(float free, float total);

    FormState& form_;
    FormView& view_;
    WindowServices& window_;
    VolumeQueries& volumes_;
    std::map<int, long long> shownNumbers_;
    std::optional<float> shownFreeRatio_;
    QString shownFileSystem_;
};

}  // namespace dorvelix
