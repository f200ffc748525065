// carteloom-cli: the two conversions of the window, driven from the command line.
#include <CLI/CLI.hpp>

#include <csignal>
#include <filesystem>
#include <iostream>
#include <map>
#include <system_error>

#include "cli/console.h"
#include "cli/help_texts.h"
#include "cli/stop_signals.h"
#include "cli/terminal_ui.h"
#include "files/file_routines.h"
#include "files/output_journal.h"
#include "to_mif/to_mif_batch.h"
#include "to_receiver/to_receiver_batch.h"

namespace {

struct Request {
  std::string outputFolder;
  std::string onExist;
  bool quiet = false;
  bool verbose = false;
  bool progress = false;
  std::vector<std::string> files;
};

void AddCommonOptions(CLI::App& command, Request& request, const char* readsWrites) {
  command.add_option("-o,--output", request.outputFolder, "Output folder (default: the current folder)");
  command.add_option("--on-exist", request.onExist, carteloom::kOnExistHelp)
      ->check(CLI::IsMember({"ask", "overwrite", "rename", "fail"}));
  CLI::Option* quiet = command.add_flag("-q,--quiet", request.quiet, carteloom::kQuietHelp);
  command.add_flag("-v,--verbose", request.verbose, carteloom::kVerboseHelp)->excludes(quiet);
  command.add_flag("--progress", request.progress, carteloom::kProgressHelp)->excludes(quiet);
  command.add_option("FILE", request.files, "Source files, converted in this order")->required();
  command.footer(std::string(readsWrites) + "\n" + carteloom::kExitStatusHelp + carteloom::kExamples);
}

carteloom::TerminalOptions OptionsOf(const Request& request) {
  static const std::map<std::string, carteloom::OnExist> kModes{{"ask", carteloom::OnExist::Ask},
                                                                {"overwrite", carteloom::OnExist::Overwrite},
                                                                {"rename", carteloom::OnExist::Rename},
                                                                {"fail", carteloom::OnExist::Fail}};
  carteloom::TerminalOptions options;
  if (request.onExist.empty())
    options.onExist = carteloom::IsTerminal(stdin) ? carteloom::OnExist::Ask : carteloom::OnExist::Fail;
  else
    options.onExist = kModes.at(request.onExist);
  options.quiet = request.quiet;
  options.verbose = request.verbose;
  options.progress = request.progress || carteloom::IsTerminal(stderr);
  options.progressAtOnce = request.progress;
  options.outBesideErr = carteloom::ShareDestination(stdout, stderr);
  options.outPaths = carteloom::PathDisplayOf(stdout);
  options.errPaths = carteloom::PathDisplayOf(stderr);
  return options;
}

std::string FolderOf(const std::string& requested) {
  if (!requested.empty()) return requested;
  std::error_code ec;
  std::string current = carteloom::NarrowPath(std::filesystem::current_path(ec));
  return ec ? std::string(".") : current;
}

// Rolls back or finishes what runs that died left in folder, as the next
// conversion into it would, and says which.
int Recover(const std::string& folder) {
  const carteloom::PathDisplay shown = carteloom::PathDisplayOf(stdout);
  try {
    const std::vector<carteloom::RecoveredCommit> commits = carteloom::RecoverOutputFolder(folder);
    for (const carteloom::RecoveredCommit& commit : commits)
      std::cout << carteloom::ShownPath(commit.journal, shown) << ": "
                << (commit.finished ? carteloom::kRecoveryFinished : carteloom::kRecoveryRolledBack) << '\n';
    if (commits.empty()) std::cout << carteloom::ShownPath(folder, shown) << ": " << carteloom::kNothingToRecover << '\n';
    return 0;
  } catch (const std::exception& error) {
    std::cerr << carteloom::ShownText(error.what(), carteloom::PathDisplayOf(stderr)) << '\n';
    return 1;
  }
}

}  // namespace

int main(int argc, char** argv) {
#ifdef SIGXFSZ
  // A file-size limit must fail the write (and keep the old file), not kill the process.
  std::signal(SIGXFSZ, SIG_IGN);
#endif
  carteloom::WriteConsolesAsUnicode();
  CLI::App app{"Carteloom: receiver waypoint, track and route files to MapInfo MIF/MID and back"};
  app.set_version_flag("--version", std::string("carteloom-cli ") + CARTELOOM_VERSION);
  app.require_subcommand(1);
  app.footer(std::string(carteloom::kExitStatusHelp) + carteloom::kExamples + carteloom::kCommandHelpHint);

  Request toMif, toReceiver;
  std::string mifCharset = std::string(carteloom::kDefaultMifCharset);
  CLI::App* mifCommand = app.add_subcommand("to-mif", carteloom::kToMifSummary);
  AddCommonOptions(*mifCommand, toMif, carteloom::kToMifReadsWrites);
  mifCommand
      ->add_option("--mif-charset", mifCharset,
                   "Charset named in the MIF header (default Neutral;\n"
                   "WindowsSimpChinese lets GDAL and QGIS decode the GBK names)")
      ->check(CLI::IsMember({"Neutral", "WindowsSimpChinese"}));
  CLI::App* receiverCommand = app.add_subcommand("to-receiver", carteloom::kToReceiverSummary);
  AddCommonOptions(*receiverCommand, toReceiver, carteloom::kToReceiverReadsWrites);
  std::string recoverFolder;
  CLI::App* recoverCommand = app.add_subcommand("recover", carteloom::kRecoverSummary);
  recoverCommand->add_option("DIR", recoverFolder, "Output folder of the run that was killed")->required();

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    int code = app.exit(error);
    return code == 0 ? 0 : 2;
  }

  if (recoverCommand->parsed()) return Recover(recoverFolder);
  const Request& request = mifCommand->parsed() ? toMif : toReceiver;
  carteloom::TerminalUi ui(request.files, OptionsOf(request), std::cout, std::cerr);
  carteloom::CatchStopSignals();
  carteloom::BatchResult result;
  if (mifCommand->parsed()) {
    carteloom::ToMifOptions options;
    options.charset = mifCharset;
    result = carteloom::RunToMifBatch(ui, FolderOf(request.outputFolder), options);
  } else {
    result = carteloom::RunToReceiverBatch(ui, FolderOf(request.outputFolder));
  }
  carteloom::BatchUnwound();
  ui.Finish(result);
  if (result.stopped) return carteloom::kStoppedExitStatus;
  return result.converted == result.startCount ? 0 : 1;
}
