#pragma once

#include <QString>
#include <QtGlobal>
#include <initializer_list>
#include <vector>

#include "store/Error.h"

namespace pesterly {

// The functions `names` of one of the program's own modules (such as "libpesterly-mail.so"),
// in that order. The module is looked for beside the program (the build folder) and in its
// installed module folder, never on the library path of the environment; it is loaded the
// first time it is asked for, and stays. All or nothing: when it cannot be loaded or lacks a
// function, the error holds the loader's reason, for the caller to put in its own words, and
// the next call tries again. Safe on any thread.
Result<std::vector<QFunctionPointer>> LoadModule(const QString& file,
                                                 std::initializer_list<const char*> names);

}  // namespace pesterly
