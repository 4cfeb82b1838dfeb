#include "fat_images.h"

#include "mount_rig.h"

#include <QRegularExpression>
#include <vector>

namespace dorvelix::testing {

std::string makeFatImage(const TempTree& tree, const char* fatBits, int sizeKiB, std::string& why,
                         const char* sectorsPerCluster)
{
    const std::string image = tree.path(std::string("fat") + fatBits + ".img");
    std::vector<std::string> mkfsArgs{"mkfs.fat", "-F", fatBits, "-C", image, std::to_string(sizeKiB)};
    if (sectorsPerCluster)
        mkfsArgs.insert(mkfsArgs.begin() + 3, {"-s", sectorsPerCluster});
    const ToolRun mkfs = runTool(mkfsArgs);
    if (mkfs.status != 0) {
        why = "mkfs.fat (Debian package dosfstools) failed or is missing: " + mkfs.err;
        return {};
    }
    const std::string a = tree.fileWith("a.txt", std::string(10000, 'a'));
    const std::string b = tree.fileWith("b.txt", std::string(70000, 'b'));
    const ToolRun copy = runTool({"mcopy", "-i", image, a, b, "::/"});
    const ToolRun folder = runTool({"mmd", "-i", image, "::/sub"});
    const ToolRun copy2 = runTool({"mcopy", "-i", image, a, "::/sub/"});
    if (copy.status != 0 || folder.status != 0 || copy2.status != 0) {
        why = "mtools (Debian package mtools) failed or is missing: " + copy.err + folder.err + copy2.err;
        return {};
    }
    return image;
}

long long mtoolsFreeBytes(const std::string& image)
{
    const ToolRun dir = runTool({"mdir", "-i", image, "::/"});
    const auto m = QRegularExpression(QStringLiteral("([\\d ]+) bytes free")).match(QString::fromStdString(dir.out));
    return m.hasMatch() ? m.captured(1).remove(u' ').toLongLong() : -1;
}

}  // namespace dorvelix::testing
