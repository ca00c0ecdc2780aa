#pragma once

#include <memory>
#include <string>

namespace talvora_sim {

// A pseudo-terminal pair in raw mode: the server keeps the master, and also keeps the slave
// open (never reading it) so that the master does not hang up while no program has the
// terminal open; a program may open, close and reopen the terminal any number of times.
class PseudoTerminal {
 public:
  // A new pair; nothing with `error` set when the system has none to give.
  static std::unique_ptr<PseudoTerminal> Create(std::string& error);

  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;
  ~PseudoTerminal();

  int Master() const { return master_; }
  int Slave() const { return slave_; }
  const std::string& Path() const { return path_; }

  // Also makes `link` a symbolic link to the terminal, replacing a link left there by a server
  // that is gone; refused while another live server owns `link` (its lock file, `link`.lock,
  // is locked). The link and its lock go when the terminal does.
  bool AddLink(const std::string& link, std::string& error);

 private:
  PseudoTerminal(int master, int slave, std::string path);
  bool LockLink(const std::string& link, std::string& error);
  void ReleaseLock();
  void RemoveLink();

  int master_ = -1;
  int slave_ = -1;
  std::string path_;
  std::string link_;
  int lock_ = -1;
  std::string lockPath_;
};

}  // namespace talvora_sim
