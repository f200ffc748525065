#pragma once
// The texts of carteloom-cli --help: what each command reads and writes, the
// answers of --on-exist, the exit statuses, examples. CLI11 indents the
// lines after a line break of an option's text.
namespace carteloom {

inline constexpr const char* kToMifSummary = "Receiver files (.upt .log .rte) to MIF/MID pairs";
inline constexpr const char* kToReceiverSummary = "MIF/MID layers to waypoint (.upt) and route (.rte) files";
inline constexpr const char* kRecoverSummary =
    "Clean up after a run that was killed (also done by the next conversion into DIR)";
inline constexpr const char* kRecoveryRolledBack = "上次转换被中断，已撤销：旧文件已恢复，未完成的文件已删除";
inline constexpr const char* kRecoveryFinished = "上次转换被中断时新文件已全部就位，已完成：留下的旧文件已删除";
inline constexpr const char* kNothingToRecover = "没有被中断的转换";

inline constexpr const char* kToMifReadsWrites =
    "Reads waypoint (.upt), track-log (.log) and route (.rte) files; writes the pair\n"
    "B.mif and B.mid into the output folder for each B.upt, B.log or B.rte.\n";

inline constexpr const char* kToReceiverReadsWrites =
    "Reads each B.mif with the B.mid beside it (B.MID when only that exists), in WGS84\n"
    "longitude/latitude. Writes its points as waypoint files B.upt, B2.upt, B3.upt ...\n"
    "(499 points in the first, then 500 each) and its lines as the route file B.rte,\n"
    "into the output folder; they replace old files together, once all are complete.\n"
    "The batch ends early at a layer in another coordinate system, a MIF without its\n"
    "MID or a failed write, and lists the given files that were not converted.\n";

inline constexpr const char* kOnExistHelp =
    "When an output exists: ask (y replaces it, n asks for another name),\n"
    "overwrite, rename (the first free name of B_2, B_3 ..., reported) or\n"
    "fail (the file is left alone and reported).\n"
    "Default: ask when stdin is a terminal, fail otherwise";

inline constexpr const char* kQuietHelp =
    "Only what went wrong: no summary, no rename notices, no progress\n(not with -v or --progress)";

inline constexpr const char* kVerboseHelp =
    "One line per given file on stdout: FILE -> OUTPUTS, or FILE: why not";

inline constexpr const char* kProgressHelp =
    "The progress line on stderr from the start, even when stderr is no\n"
    "terminal (on a terminal it shows for work longer than a second)";

inline constexpr const char* kExitStatusHelp =
    "Messages about one file start with its path. Ctrl-C or SIGTERM stops the run: no\n"
    "half-written file is left, and every old output stays as it was.\n"
    "Exit status: 0 every file converted, 1 some file not converted, 2 usage error,\n"
    "130 stopped by Ctrl-C or a signal.\n";

inline constexpr const char* kExamples =
    "\nExamples:\n"
    "  carteloom-cli to-mif -o maps wells.upt day1.log roads.rte\n"
    "  carteloom-cli to-receiver --on-exist=rename -v -o /media/card points.mif roads.mif\n"
    "  carteloom-cli to-mif -q --on-exist=overwrite -o out *.upt   # a script: errors only\n";

inline constexpr const char* kCommandHelpHint = "\n'carteloom-cli COMMAND --help' tells what a command reads and writes.";

}  // namespace carteloom
