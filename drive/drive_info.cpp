#include "drive_info.h"

#include "checked.h"
#include "cluster_accounting.h"
#include "convert_length.h"
#include "drives.h"
#include "steps.h"
#include "text.h"

#include <array>
#include <cmath>

namespace dorvelix {

namespace {

// FAT32 volumes get the cluster length of their size class; the bounds are
// decimal byte counts, each compared strictly less than.
struct SizeClass {
    std::int64_t below;
    std::int32_t clusterLength;
};
constexpr std::array<SizeClass, 3> Fat32SizeClasses{{
    {8'600'000'000, 4096},
    {17'200'000'000, 8192},
    {35'400'000'000, 16384},
}};
constexpr std::int32_t Fat32LargestClusterLength = 32768;
constexpr std::int64_t Fat32BytesPerSector = 512;

std::int32_t fat32ClusterLength(std::int64_t totalBytes)
{
    for (const SizeClass& c : Fat32SizeClasses) {
        if (totalBytes < c.below)
            return c.clusterLength;
    }
    return Fat32LargestClusterLength;
}

// A quotient held as a fixed-point number with four decimal places: the
// double quotient rounded to the nearest ten-thousandth, halves to even.
class FixedQuotient {
public:
    FixedQuotient() = default;
    static FixedQuotient of(double dividend, double divisor)
    {
        const double scaled = divide(dividend, divisor) * 10000.0;
        // The fixed-point range is that of a 64-bit count of ten-thousandths.
        if (!std::isfinite(scaled) || std::fabs(scaled) >= 9.2233720368547758e18)
            throw RuntimeError(err::Overflow);
        FixedQuotient q;
        q.tenThousandths_ = static_cast<std::int64_t>(roundHalfEven(scaled));
        return q;
    }
    double value() const { return static_cast<double>(tenThousandths_) / 10000.0; }
    // The nearest whole number, halves to even, worked out on the exact
    // fixed-point value.
    std::int64_t whole() const
    {
        std::int64_t q = tenThousandths_ / 10000;
        const std::int64_t r = tenThousandths_ % 10000;
        if (r > 5000 || (r == 5000 && (q & 1)))
            ++q;
        else if (r < -5000 || (r == -5000 && (q & 1)))
            --q;
        return q;
    }

private:
    std::int64_t tenThousandths_ = 0;
};

std::int64_t multiplied(std::int64_t a, std::int64_t b)
{
    std::int64_t r = 0;
    if (__builtin_mul_overflow(a, b, &r))
        throw RuntimeError(err::Overflow);
    return r;
}

// a × b × c, exact in 64 bits, in double precision beyond them.
Whole product(std::int64_t a, std::int64_t b, std::int64_t c)
{
    std::int64_t ab = 0, abc = 0;
    if (!__builtin_mul_overflow(a, b, &ab) && !__builtin_mul_overflow(ab, c, &abc))
        return static_cast<long long>(abc);
    return static_cast<double>(a) * static_cast<double>(b) * static_cast<double>(c);
}

// A figure worked out in double precision, whole where 64 bits hold it: the
// box shows it rounded halves away from zero either way.
Whole rounded(double value)
{
    if (std::fabs(value) < 9.0e18)
        return static_cast<long long>(std::llround(value));
    return value;
}

}  // namespace

QString panelFileSystemName(const QString& queried)
{
    return queried.compare(QStringLiteral("FAT"), Qt::CaseInsensitive) == 0 ? QStringLiteral("FAT16") : queried;
}

DriveQuery::DriveQuery(FormState& form, FormView& view, WindowServices& window, VolumeQueries& volumes)
    : form_(form), view_(view), window_(window), volumes_(volumes)
{
}

void DriveQuery::setRatio(float free, float total)
{
    figures_.freeRatio = divide(free, total);  // a zero total is error 11: the ratio stays unfilled
}

bool DriveQuery::showDriveInfo(const QString& drive)
{
    StepRunner step;  // a failing step is abandoned without a message
    std::string root;
    QString name;

    step([&] { window_.setMousePointer(BusyPointer); });
    step([&] { root = driveAddress(drive); });
    step([&] {
        VolumeQueries::FreeSpace space;
        DriveQueryResult = volumes_.diskFreeSpace(root, space) ? 1 : 0;
        if (DriveQueryResult != 0) {
            SectorsPerCluster = space.sectorsPerCluster;
            BytesPerSector = space.bytesPerSector;
            form_.freeClusterCount = space.freeClusters;
            form_.totalClusterCount = space.totalClusters;
        }
    });
    figures_ = DriveFigures{};
    figures_.text = drive;
    step([&] { view_.driveFiguresReached(figures_); });
    step([&] { view_.folderResultsCleared(); });
    if (DriveQueryResult == 0) {
        noMedium(drive);
        return false;
    }

    step([&] {
        QString answer;
        DriveQueryResult = volumes_.fileSystemName(root, answer) ? 1 : 0;
        // A failed query leaves no name, so the drive's own figures are shown
        // on the direct path rather than another drive's file system.
        FileSystemNameBuffer = DriveQueryResult != 0 ? answer : QString();
    });
    step([&] {
        const qsizetype nul = FileSystemNameBuffer.indexOf(QChar(u'\0'));
        name = nul < 0 ? FileSystemNameBuffer : FileSystemNameBuffer.left(nul);
    });
    step([&] { name = panelFileSystemName(name); });
    step([&] { figures_.fileSystem = name; });
    if (name.compare(QStringLiteral("FAT32"), Qt::CaseInsensitive) == 0)
        fat32Path(root);
    else
        directPath();
    commonTail();
    return true;
}

void DriveQuery::directPath()
{
    StepRunner step;
    DriveFigures& d = figures_;
    d.bytesPerSector = static_cast<long long>(BytesPerSector);
    d.sectorsPerCluster = static_cast<long long>(SectorsPerCluster);
    d.totalClusters = static_cast<long long>(form_.totalClusterCount);
    d.freeClusters = static_cast<long long>(form_.freeClusterCount);
    d.totalBytes = product(SectorsPerCluster, BytesPerSector, form_.totalClusterCount);
    d.freeBytes = product(SectorsPerCluster, BytesPerSector, form_.freeClusterCount);
    step([&] { setRatio(static_cast<float>(form_.freeClusterCount), static_cast<float>(form_.totalClusterCount)); });
    step([&] {
        form_.clusterLength = narrow<std::int32_t>(multiplied(BytesPerSector, SectorsPerCluster));
        d.clusterLength = static_cast<long long>(form_.clusterLength);
    });
    const std::int64_t used = form_.totalClusterCount - form_.freeClusterCount;
    d.usedClusters = static_cast<long long>(used);
    d.usedBytes = product(SectorsPerCluster, used, BytesPerSector);
}

void DriveQuery::fat32Path(const std::string& root)
{
    StepRunner step;
    FixedQuotient freeQuotient;

    step([&] {
        VolumeQueries::FreeSpaceEx bytes;
        DriveQueryResult = volumes_.diskFreeSpaceEx(root, bytes) ? 1 : 0;
        if (DriveQueryResult == 0) {
            // Without its byte counts the drive's own cluster figures stand in
            // for them, rather than the byte counts of an earlier drive.
            const std::int64_t clusterBytes = multiplied(SectorsPerCluster, BytesPerSector);
            bytes.totalBytes = multiplied(form_.totalClusterCount, clusterBytes);
            bytes.totalFreeBytes = multiplied(form_.freeClusterCount, clusterBytes);
            bytes.freeBytesToCaller = bytes.totalFreeBytes;
        }
        FreeBytesToCaller = bytes.freeBytesToCaller;
        TotalBytes = bytes.totalBytes;
        TotalFreeBytes = bytes.totalFreeBytes;
    });
    step([&] { form_.clusterLength = fat32ClusterLength(TotalBytes); });
    DriveFigures& d = figures_;
    step([&] {
        BytesPerSector = Fat32BytesPerSector;
        d.bytesPerSector = static_cast<long long>(BytesPerSector);
        d.clusterLength = static_cast<long long>(form_.clusterLength);
    });
    step([&] {
        SectorsPerCluster = intDiv(form_.clusterLength, BytesPerSector);
        d.sectorsPerCluster = static_cast<long long>(SectorsPerCluster);
    });
    step([&] {
        form_.totalClusterCount = FixedQuotient::of(static_cast<double>(TotalBytes), form_.clusterLength).whole();
        d.totalClusters = static_cast<long long>(form_.totalClusterCount);
    });
    d.totalBytes = static_cast<long long>(TotalBytes);
    step([&] {
        freeQuotient = FixedQuotient::of(static_cast<double>(TotalFreeBytes), form_.clusterLength);
        form_.freeClusterCount = freeQuotient.whole();
        d.freeClusters = rounded(freeQuotient.value());
    });
    d.freeBytes = static_cast<long long>(TotalFreeBytes);
    step([&] { setRatio(static_cast<float>(freeQuotient.value()), static_cast<float>(form_.totalClusterCount)); });
    d.usedClusters = rounded(static_cast<double>(form_.totalClusterCount) - freeQuotient.value());
    d.usedBytes = static_cast<long long>(TotalBytes - TotalFreeBytes);
}

void DriveQuery::commonTail()
{
    StepRunner step;
    figures_.searchClusterLength = static_cast<long long>(form_.clusterLength);
    step([&] {
        form_.convertLength = form_.clusterLength;
        figures_.convertLength = static_cast<long long>(form_.convertLength);
    });
    step([&] { view_.driveFiguresReached(figures_); });
    step([&] {
        form_.entriesPerCluster = static_cast<std::int32_t>(entriesPerCluster(form_.clusterLength));
        form_.convertEntriesPerCluster = static_cast<std::int32_t>(entriesPerCluster(form_.convertLength));
    });
    step([&] {
        // A length that is none of the menu's nine leaves the index as it was.
        const int index = convertIndexOf(form_.convertLength);
        if (index >= 0)
            form_.convertIndex = index;
    });
    step([&] { view_.checkConvertLength(form_.convertIndex); });
    step([&] { view_.drawUsageGraph(form_.screenSize); });
    step([&] { window_.setMousePointer(DefaultPointer); });
}

void DriveQuery::noMedium(const QString& drive)
{
    StepRunner step;
    figures_.noMedium = true;
    step([&] { window_.messageBox(noMediumMessage(drive)); });
    step([&] { view_.driveGeometryLost(); });
    step([&] { window_.setMousePointer(DefaultPointer); });
}

}  // namespace dorvelix
