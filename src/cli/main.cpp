// carteloom-cli: the two conversions of the window, driven from the command line.
#include <CLI/CLI.hpp>

#include <csignal>
#include <filesystem>
#include <iostream>
#include <map>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

#include "cli/terminal_ui.h"
#include "formats/file_routines.h"
#include "to_mif/to_mif_batch.h"
#include "to_receiver/to_receiver_batch.h"

namespace {

struct Request {
  std::string outputFolder;
  std::string onExist;
  std::vector<std::string> files;
};

void AddCommonOptions(CLI::App& command, Request& request) {
  command.add_option("-o,--output", request.outputFolder, "Output folder (default: the current folder)");
  command
      .add_option("--on-exist", request.onExist,
                  "When an output exists: ask, overwrite, rename or fail "
                  "(default: ask on a terminal, fail otherwise)")
      ->check(CLI::IsMember({"ask", "overwrite", "rename", "fail"}));
  command.add_option("FILE", request.files, "Source files, converted in this order")->required();
}

carteloom::OnExist OnExistOf(const std::string& text) {
  static const std::map<std::string, carteloom::OnExist> kModes{{"ask", carteloom::OnExist::Ask},
                                                                {"overwrite", carteloom::OnExist::Overwrite},
                                                                {"rename", carteloom::OnExist::Rename},
                                                                {"fail", carteloom::OnExist::Fail}};
  if (text.empty()) return isatty(fileno(stdin)) ? carteloom::OnExist::Ask : carteloom::OnExist::Fail;
  return kModes.at(text);
}

std::string FolderOf(const std::string& requested) {
  if (!requested.empty()) return requested;
  std::error_code ec;
  std::string current = carteloom::NarrowPath(std::filesystem::current_path(ec));
  return ec ? std::string(".") : current;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef SIGXFSZ
  // A file-size limit must fail the write (and keep the old file), not kill the process.
  std::signal(SIGXFSZ, SIG_IGN);
#endif
  CLI::App app{"Carteloom: receiver waypoint, track and route files to MapInfo MIF/MID and back"};
  app.set_version_flag("--version", std::string("carteloom-cli ") + CARTELOOM_VERSION);
  app.require_subcommand(1);

  Request toMif, toReceiver;
  std::string mifCharset = std::string(carteloom::kDefaultMifCharset);
  CLI::App* mifCommand = app.add_subcommand("to-mif", "Receiver files (.upt .log .rte) to MIF/MID pairs");
  AddCommonOptions(*mifCommand, toMif);
  mifCommand
      ->add_option("--mif-charset", mifCharset,
                   "Charset named in the MIF header (default Neutral; WindowsSimpChinese lets GDAL and "
                   "QGIS decode the GBK names)")
      ->check(CLI::IsMember({"Neutral", "WindowsSimpChinese"}));
  CLI::App* receiverCommand = app.add_subcommand("to-receiver", "MIF/MID pairs to waypoint or route files");
  AddCommonOptions(*receiverCommand, toReceiver);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    int code = app.exit(error);
    return code == 0 ? 0 : 2;
  }

  carteloom::BatchResult result;
  if (mifCommand->parsed()) {
    carteloom::TerminalUi ui(toMif.files, OnExistOf(toMif.onExist), std::cin, std::cout, std::cerr);
    carteloom::ToMifOptions options;
    options.charset = mifCharset;
    result = carteloom::RunToMifBatch(ui, FolderOf(toMif.outputFolder), options);
  } else {
    carteloom::TerminalUi ui(toReceiver.files, OnExistOf(toReceiver.onExist), std::cin, std::cout, std::cerr);
    result = carteloom::RunToReceiverBatch(ui, FolderOf(toReceiver.outputFolder));
  }
  return result.converted == result.startCount ? 0 : 1;
}
