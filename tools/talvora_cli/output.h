#pragma once

// Standard output that never holds the program up. A reader that stopped reading, or a full
// pipe, must not freeze a program that keeps a radio port: the port would stay held and RTS
// raised, and Ctrl+C would go unanswered. So what is printed is kept in a bounded buffer and
// written, without blocking, whenever the output takes it: at once where it can, else from
// the event loop. A write that fails (a closed pipe, a full disk) marks the output as failed;
// the command then stops and fails.

#include <QByteArray>
#include <QString>
#include <functional>

namespace cli::output {

// Prepares the standard streams at program start: a closed stream is replaced by /dev/null
// so that no file the program opens takes its place (a closed standard output also marks the
// output failed), SIGPIPE is ignored, and a pipe or terminal is reopened for writes that do
// not block.
void Start();

void Write(const QByteArray& bytes);

// Whether a write failed, and why ("No space left on device").
bool Failed();
QString Error();

// Yields to the event loop until everything printed is written, the output fails or `stop`
// holds; returns whether everything was written.
bool Finish(const std::function<bool()>& stop);

// Forgets a failure and anything left unwritten (a test's new run).
void Reset();

}  // namespace cli::output
