// The keys of dorvelix-report's JSON document, which is also the saved scan
// that the report's --compare and the window read back: written once here,
// for the report, the window and the reader alike.
#pragma once

// The keys of the JSON document, in the order the document has them.
namespace dorvelix::json_key {

inline constexpr char Format[] = "format";
inline constexpr char FormatVersion[] = "format_version";
inline constexpr char ProgramVersion[] = "program_version";
inline constexpr char Drive[] = "drive";
inline constexpr char ClusterLength[] = "cluster_length";
inline constexpr char Text[] = "text";
inline constexpr char FileSystem[] = "file_system";
inline constexpr char BytesPerSector[] = "bytes_per_sector";
inline constexpr char SectorsPerCluster[] = "sectors_per_cluster";
inline constexpr char TotalClusters[] = "total_clusters";
inline constexpr char TotalBytes[] = "total_bytes";
inline constexpr char UsedClusters[] = "used_clusters";
inline constexpr char UsedBytes[] = "used_bytes";
inline constexpr char FreeClusters[] = "free_clusters";
inline constexpr char FreeBytes[] = "free_bytes";
inline constexpr char FreeRatio[] = "free_ratio";
inline constexpr char EstimateExact[] = "estimate_exact";
inline constexpr char EstimateNote[] = "estimate_note";
inline constexpr char Folder[] = "folder";
inline constexpr char Path[] = "path";
inline constexpr char Folders[] = "folders";  // a count, and the array of top-level rows
inline constexpr char Files[] = "files";
inline constexpr char Clusters[] = "clusters";
inline constexpr char Bytes[] = "bytes";
inline constexpr char FileBytes[] = "file_bytes";
inline constexpr char Subtree[] = "subtree";
inline constexpr char Converted[] = "converted";
inline constexpr char Limits[] = "limits";
inline constexpr char Complete[] = "complete";
inline constexpr char LevelsSkipped[] = "levels_skipped";
inline constexpr char HiddenSkipped[] = "hidden_skipped";
inline constexpr char UnreadableFolders[] = "unreadable_folders";
inline constexpr char UnreadableFiles[] = "unreadable_files";
// Only in the document of a walk whose drive stopped answering.
inline constexpr char DriveStopped[] = "drive_stopped";
inline constexpr char PartialNote[] = "partial_note";
inline constexpr char Name[] = "name";
inline constexpr char ConvertClusters[] = "convert_clusters";
inline constexpr char ConvertBytes[] = "convert_bytes";
inline constexpr char GrowthBytes[] = "growth_bytes";
inline constexpr char Target[] = "target";
inline constexpr char NeededBytes[] = "needed_bytes";
inline constexpr char Fits[] = "fits";
inline constexpr char Blocked[] = "blocked";
inline constexpr char Reason[] = "reason";
inline constexpr char FreeInodes[] = "free_inodes";
inline constexpr char NeededInodes[] = "needed_inodes";
inline constexpr char LimitsReached[] = "limits_reached";
inline constexpr char Limit[] = "limit";
inline constexpr char Needed[] = "needed";
inline constexpr char Available[] = "available";
inline constexpr char Count[] = "count";
inline constexpr char Lengths[] = "lengths";
inline constexpr char Capacity[] = "capacity";
inline constexpr char Fat32Bytes[] = "fat32_bytes";
inline constexpr char Fat32SlackPercent[] = "fat32_slack_percent";
inline constexpr char Fat32Default[] = "fat32_default";
inline constexpr char Fat32Fits[] = "fat32_fits";
inline constexpr char ExfatBytes[] = "exfat_bytes";
inline constexpr char ExfatSlackPercent[] = "exfat_slack_percent";
inline constexpr char ExfatDefault[] = "exfat_default";
inline constexpr char ExfatFits[] = "exfat_fits";
inline constexpr char Advice[] = "advice";
inline constexpr char LeastClusterLength[] = "least_cluster_length";
inline constexpr char LeastBytes[] = "least_bytes";
inline constexpr char DefaultClusterLength[] = "default_cluster_length";
inline constexpr char DefaultBytes[] = "default_bytes";
inline constexpr char ExtraBytes[] = "extra_bytes";
inline constexpr char Command[] = "command";
inline constexpr char LargeFileRefused[] = "large_file_refused";
inline constexpr char Messages[] = "messages";
// The rows below the top level (--depth): how deep, and the path from the
// chosen folder.
inline constexpr char Level[] = "level";
// The comparison with a saved scan (--compare).
inline constexpr char Compare[] = "compare";
inline constexpr char Saved[] = "saved";
inline constexpr char Depth[] = "depth";
inline constexpr char ConvertLength[] = "convert_length";
inline constexpr char Whole[] = "whole";
inline constexpr char Changes[] = "changes";
inline constexpr char Change[] = "change";
inline constexpr char Then[] = "then";
inline constexpr char Now[] = "now";
inline constexpr char Difference[] = "difference";
inline constexpr char Changed[] = "changed";
inline constexpr char Added[] = "added";
inline constexpr char Gone[] = "gone";

}  // namespace dorvelix::json_key
