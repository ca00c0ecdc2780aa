// talvora-sim: the simulated radio system behind a pseudo-terminal.
//
// The first line on stdout is the terminal's path. The frame log goes to stderr (or to the
// file given with --log), one line per frame.

#include <signal.h>

#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

#include "pty_server.h"
#include "sim/options.h"

namespace {

talvora_sim::PtyServer* running = nullptr;

extern "C" void OnSignal(int signal) {
  if (running == nullptr) return;
  if (signal == SIGUSR1) {
    running->RequestSwap();
  } else {
    running->Stop();
  }
}

void PrintUsage(std::ostream& out) {
  out << "usage: talvora-sim [--link PATH] [--log FILE | --quiet] [--air] "
         "[OPTION[,OPTION...]]...\n"
         "\n"
         "Serves the simulated radio system on a new pseudo-terminal until SIGINT, SIGTERM or\n"
         "SIGHUP.\n"
         "SIGUSR1 takes the host module away and puts a fresh one in (see swap below).\n"
         "Prints the terminal's path as the first line on stdout; logs every frame on stderr.\n"
         "\n"
         "  --link PATH   also make PATH a symbolic link to the terminal, with PATH.lock\n"
         "                beside it while it serves; refused while another talvora-sim\n"
         "                serves PATH\n"
         "  --log FILE    write the frame log to FILE instead of stderr\n"
         "  --quiet       no frame log (also with the option trace)\n"
         "  --air         send every frame over the air, as if RTS were always low; without it\n"
         "                a frame that is exactly a command (a link test's \"$\" 0 too) goes to\n"
         "                the host module\n"
         "  --help        this text\n"
         "\n"
         "Options (the same as after \"sim:\" in a device name):\n";
  for (const std::string& line : sim::DescribeOptions())
    out << "  " << line << "\n";
}

int Fail(const std::string& message) {
  std::cerr << "talvora-sim: " << message << "\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  sim::Options options;
  std::string link;
  std::string logFile;
  bool quiet = false;
  bool air = false;
  std::string error;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      PrintUsage(std::cout);
      return 0;
    }
    if ((arg == "--link" || arg == "--log") && i + 1 < argc) {
      (arg == "--link" ? link : logFile) = argv[++i];
    } else if (arg == "--quiet") {
      quiet = true;
    } else if (arg == "--air") {
      air = true;
    } else if (arg.rfind("--", 0) == 0) {
      return Fail("unknown or incomplete argument '" + arg + "' (see --help)");
    } else if (!sim::ApplyOptions(arg.rfind("sim:", 0) == 0 ? arg.substr(4) : arg, options,
                                  error)) {
      return Fail(error);
    }
  }

  std::ofstream logStream;
  if (!logFile.empty()) {
    logStream.open(logFile, std::ios::app);
    if (!logStream) return Fail("cannot write the log to " + logFile);
  }

  talvora_sim::PtyServer server(options);
  if (!server.Open(error)) return Fail(error);
  if (!link.empty() && !server.AddLink(link, error)) return Fail(error);
  // Always set where the log goes: the option trace alone would send it to stderr.
  std::ostream* log = logFile.empty() ? static_cast<std::ostream*>(&std::cerr) : &logStream;
  server.EchoLogTo(quiet ? nullptr : log);
  server.SendAllOverAir(air);

  running = &server;
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGUSR1, &action, nullptr);
  // A closed terminal window ends the server the same clean way, its link removed; under
  // nohup the hang-up stays ignored.
  struct sigaction hangUp {};
  if (sigaction(SIGHUP, nullptr, &hangUp) == 0 && hangUp.sa_handler != SIG_IGN) {
    sigaction(SIGHUP, &action, nullptr);
  }
  // A reader of the first line that goes away must not end the server.
  signal(SIGPIPE, SIG_IGN);

  std::cout << server.Path() << std::endl;

  const bool served = server.Run(error);
  running = nullptr;
  if (!served) return Fail(error);
  return 0;
}
