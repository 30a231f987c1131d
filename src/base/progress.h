#pragma once

#include <QtGlobal>

#include <functional>

// Told how far a long piece of work has gone (`total` 0: not known); it
// answers false to stop the work, which then leaves everything as it was.
using Progress = std::function<bool(qint64 done, qint64 total)>;
