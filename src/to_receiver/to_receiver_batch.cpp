#include "to_receiver/to_receiver_batch.h"

#include <exception>
#include <memory>
#include <optional>

#include "formats/charset_codec.h"
#include "formats/file_error.h"
#include "formats/file_routines.h"
#include "formats/mif_text.h"
#include "formats/number_text.h"
#include "formats/output_naming.h"
#include "formats/paths.h"
#include "to_receiver/converters.h"
#include "to_receiver/name_charset.h"

namespace carteloom {
namespace {

constexpr const char* kNotPointOrLineMif = "此文件不是一个有效的MapInfo单独点,线Mif文件,请检查！";
constexpr const char* kNotWgs84 = "该Mif文件不是WGS84坐标系,请在MapInfo中转换成WGS84坐标系后再转入!";
constexpr int kProgressMaximum = 500;

enum class EntryOutcome {
  Converted,  // outputs in place: the entry leaves the list
  Refused,    // not a point or line layer: the entry leaves the list
  Left,       // the user left this file alone: the entry stays, the batch goes on
  EndBatch,   // the entry and all later ones stay, no summary
};

// The source path up to its suffix; the whole path when the file name has none.
std::string SourceStem(const std::string& source) {
  std::size_t nameStart = NameStart(source);
  std::size_t dot = source.rfind('.');
  return dot != std::string::npos && dot >= nameStart ? source.substr(0, dot) : source;
}

// BASE.mid beside BASE.mif; BASE.MID when only that one exists (files copied from Windows media).
std::string MidPathOf(const std::string& source) {
  std::string stem = SourceStem(source);
  std::string lower = stem + ".mid";
  std::string upper = stem + ".MID";
  return !PathExists(lower) && PathExists(upper) ? upper : lower;
}

std::string BaseNameOf(const std::string& source) {
  std::string stem = SourceStem(source);
  return stem.substr(NameStart(stem));
}

EntryOutcome OutcomeOfNaming(NamingOutcome naming) {
  return naming == NamingOutcome::BatchEnded ? EntryOutcome::EndBatch : EntryOutcome::Left;
}

// The waypoint files of a point layer in the output folder: the first under
// the settled name, further ones under that name trimmed + 2, 3 ... Each
// name goes through the overwrite dialogue, and each file is committed
// before the next one's name is tested.
class WaypointFilesInFolder : public WaypointFiles {
 public:
  WaypointFilesInFolder(BatchUi& ui, std::string folder) : ui_(ui), folder_(std::move(folder)) {}

  // Settles the first file's name and opens it; false when the user did not.
  bool Open(const std::string& baseName) {
    if (!OpenAs(baseName)) return false;
    partBase_ = std::string(Trimmed(settledName_));
    return true;
  }
  OutputFile& Current() override { return *current_; }
  bool StartNext() override {
    current_->Commit();
    return OpenAs(partBase_ + IntegerText(static_cast<std::int64_t>(++part_)));
  }
  void Finish() { current_->Commit(); }
  NamingOutcome LastNaming() const { return naming_; }

 private:
  bool OpenAs(const std::string& baseName) {
    NamingResult result = SettleOutputName(ui_, folder_, baseName, ".upt", kReceiverOverwriteDialog);
    naming_ = result.outcome;
    if (result.outcome != NamingOutcome::Settled) return false;
    settledName_ = result.baseName;
    current_ = std::make_unique<OutputFile>(InFolder(folder_, result.baseName + ".upt"));
    return true;
  }

  BatchUi& ui_;
  std::string folder_;
  std::string settledName_;
  std::string partBase_;
  std::size_t part_ = 1;
  NamingOutcome naming_ = NamingOutcome::Settled;
  std::unique_ptr<OutputFile> current_;
};

EntryOutcome ConvertPoints(BatchUi& ui, const std::string& mifText, MidReader& names, const std::string& folder,
                           const std::string& baseName) {
  WaypointFilesInFolder files(ui, folder);
  if (!files.Open(baseName)) return OutcomeOfNaming(files.LastNaming());
  ui.SetProgressMaximum(kProgressMaximum);
  MifScanner objects(mifText);
  if (!ConvertMifPoints(objects, names, files, ui)) return OutcomeOfNaming(files.LastNaming());
  files.Finish();
  return EntryOutcome::Converted;
}

EntryOutcome ConvertPolylines(BatchUi& ui, const std::string& mifText, MidReader& names, const std::string& folder,
                              const std::string& baseName) {
  NamingResult name = SettleOutputName(ui, folder, baseName, ".rte", kReceiverOverwriteDialog);
  if (name.outcome != NamingOutcome::Settled) return OutcomeOfNaming(name.outcome);
  OutputFile out(InFolder(folder, name.baseName + ".rte"));
  ui.SetProgressMaximum(kProgressMaximum);
  MifScanner objects(mifText);
  ConvertMifPolylines(objects, names, out, ui);
  out.Commit();
  return EntryOutcome::Converted;
}

EntryOutcome ConvertEntry(BatchUi& ui, const std::string& source, const std::string& folder) {
  try {
    std::string mifText = FileText(source);
    MifLayerKind kind = LayerKind(mifText);
    if (kind == MifLayerKind::Neither) {
      ui.ShowMessage(kNotPointOrLineMif, kProgramTitle);
      return EntryOutcome::Refused;
    }
    MifScanner layer(mifText);
    if (layer.Header().find(kWgs84Clause) == std::string_view::npos) {
      ui.ShowMessage(kNotWgs84, kMessageTitle);
      return EntryOutcome::EndBatch;
    }
    std::string midPath = MidPathOf(source);
    MidReader names(midPath, layer.Delimiter());
    std::unique_ptr<GbkRecoder> recoder;
    if (std::optional<int> codePage = NameCodePage(layer.Header(), midPath)) {
      recoder = std::make_unique<GbkRecoder>(*codePage);
      names.RecodeWith(recoder.get());
    }
    std::string baseName = BaseNameOf(source);
    EntryOutcome outcome = kind == MifLayerKind::Points ? ConvertPoints(ui, mifText, names, folder, baseName)
                                                        : ConvertPolylines(ui, mifText, names, folder, baseName);
    if (names.ReplacedNames() > 0)
      ui.ShowMessage("文件 " + source + " 中有 " + IntegerText(static_cast<std::int64_t>(names.ReplacedNames())) +
                         " 个名称含有GBK无法表示的字符，已改为“?”。",
                     kMessageTitle);
    return outcome;
  } catch (const std::exception& error) {
    // Unfinished outputs were discarded on the way out; the entry stays for another try.
    ui.ShowMessage("文件 " + source + " 没有转换：" + error.what(), kMessageTitle);
    return EntryOutcome::EndBatch;
  }
}

}  // namespace

BatchResult RunToReceiverBatch(BatchUi& ui, const std::string& outputFolder) {
  BatchResult result;
  result.startCount = ui.SourceCount();
  // Finished and refused entries leave the list; the position moves on only
  // past entries the user left alone.
  std::size_t position = 0;
  while (position < ui.SourceCount()) {
    ui.BetweenFiles();
    switch (ConvertEntry(ui, ui.SourceAt(position), outputFolder)) {
      case EntryOutcome::Converted:
        ui.RemoveSourceAt(position);
        ++result.converted;
        break;
      case EntryOutcome::Refused: ui.RemoveSourceAt(position); break;
      case EntryOutcome::Left: ++position; break;
      case EntryOutcome::EndBatch: return result;
    }
  }
  ui.SetProgressValue(0);
  ui.ShowSummary("共计" + PaddedNumberText(static_cast<double>(result.converted)) +
                     "个MapInfo的Mif文件转成Trekvane的航路点、航迹、航线文件！",
                 kMessageTitle);
  return result;
}

}  // namespace carteloom
