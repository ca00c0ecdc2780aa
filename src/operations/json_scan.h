#pragma once

// What a JSON reader lets pass but a file that programs a module must not hold: a key given
// twice in one object (the reader keeps the last one silently), and numbers written with a
// fraction or an exponent (7.5, 1e2) where only whole numbers mean anything.

#include <QByteArray>
#include <QString>
#include <optional>

namespace operations {

// The first such problem in `text`, which the JSON reader has already accepted; nothing when
// there is none.
std::optional<QString> JsonStrictnessProblem(const QByteArray& text);

}  // namespace operations
