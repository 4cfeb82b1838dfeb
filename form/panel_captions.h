// The captions of the drive panel and the folder panel, in the order they
// stand, each with the value box it names. The window labels its panels with
// them and the headless report prints its panels with them.
#pragma once

#include "value_boxes.h"

namespace dorvelix {

inline constexpr const char* DrivePanelCaption = "ドライブ情報";
inline constexpr const char* FolderPanelCaption = "ホルダー情報";

struct PanelCaption {
    int label;         // LabelN
    const char* text;
    bool title;        // a yellow section title rather than a white row caption
    bool folderPanel;  // stands in the folder panel rather than the drive panel
    int box;           // the value box it names; 0 for none
};

inline constexpr PanelCaption PanelCaptions[] = {
    {1, "ドライブ ：", false, false, box::DriveText},
    {2, "ﾊﾞｲﾄ/ｾｸﾀ(ﾊﾞｲﾄ) ：", false, false, box::BytesPerSector},
    {3, "セクタ／クラスタ ：", false, false, box::SectorsPerCluster},
    {9, "クラスタ長(ﾊﾞｲﾄ) ：", false, false, box::ClusterLength},
    {4, "全クラスタ数 ： ", false, false, box::TotalClusters},
    {6, "全容量(ﾊﾞｲﾄ) ：", false, false, box::TotalBytes},
    {19, "占有クラスタ数 ：", false, false, box::UsedClusters},
    {20, "占有バイト数 ：", false, false, box::UsedBytes},
    {5, "空きクラスタ数 ：", false, false, box::FreeClusters},
    {7, "空き容量(ﾊﾞｲﾄ) ：", false, false, box::FreeBytes},
    {8, "空き容量率（％）：", false, false, box::FreeRatio},
    {23, "ドライブ使用状況", true, false, 0},
    {15, "ﾌｧｲﾙ数 ：", false, true, box::AloneFiles},
    {14, "占有クラスタ数 ：", false, true, box::AloneClusters},
    {16, "占有バイト数 ：", false, true, box::AloneBytes},
    {22, "含むサブホルダ", true, true, box::SearchClusterLength},
    {10, "ホルダ数 ：", false, true, box::SubtreeFolders},
    {11, "ファイル数 ：", false, true, box::SubtreeFiles},
    {12, "占有クラスタ数 ：", false, true, box::SubtreeClusters},
    {13, "占有バイト数 ：", false, true, box::SubtreeBytes},
    {21, "換算クラスタ長", true, true, box::ConvertLength},
    {17, "占有クラスタ数 ：", false, true, box::ConvertClusters},
    {18, "占有バイト数 ：", false, true, box::ConvertBytes},
};

}  // namespace dorvelix
