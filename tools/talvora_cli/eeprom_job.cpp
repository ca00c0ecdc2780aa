#include "eeprom_job.h"

#include "run_loop.h"

namespace cli {

ReadResult ReadRegisters(HeadlessPages& pages, const std::vector<int>& registers, bool remote,
                         operations::OutcomeListener* follower) {
  const operations::ReadingRecord record =
      operations::ReadRegisters(pages.Model(), registers, remote, follower);
  ReadResult result;
  result.registers = record.registers;
  result.status = operations::StatusText(record.verdict);
  result.interrupted = Interrupted();
  result.ok = !result.interrupted && record.verdict == operations::ReadVerdict::AllRead;
  return result;
}

WriteResult WriteRegisters(HeadlessPages& pages, const std::vector<std::pair<int, QString>>& values,
                           bool remote, operations::OutcomeListener* follower) {
  const operations::ProgrammingRecord record =
      operations::ProgramRegisters(pages.Model(), values, remote, follower);
  WriteResult result;
  result.registers = record.registers;
  result.status = operations::StatusText(record.verdict);
  result.interrupted = Interrupted();
  result.ok = !result.interrupted && record.verdict == operations::WriteVerdict::Programmed;
  return result;
}

}  // namespace cli
