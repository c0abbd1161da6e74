#include "platform/ModuleLoader.h"

#include <QFileInfo>
#include <QLibrary>
#include <algorithm>
#include <map>
#include <mutex>

#include "PesterlyConfig.h"

namespace pesterly {
namespace {

// The folder of the running program, found without an application object, since the
// command line's export runs before there is one.
QString ProgramFolder() {
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(u'/', 0, -2);
}

}  // namespace

Result<std::vector<QFunctionPointer>> LoadModule(const QString& file,
                                                 std::initializer_list<const char*> names) {
    static std::mutex mutex;
    static std::map<QString, std::vector<QFunctionPointer>> loaded;
    const std::scoped_lock lock(mutex);
    if (const auto known = loaded.find(file); known != loaded.end()) {
        return known->second;
    }
    QString reason;
    for (const QString& folder : {ProgramFolder(), QStringLiteral(PESTERLY_MODULE_DIR)}) {
        QLibrary module(folder + QLatin1Char('/') + file);
        std::vector<QFunctionPointer> functions;
        if (module.load()) {
            for (const char* name : names) {
                functions.push_back(module.resolve(name));
            }
            if (std::ranges::find(functions, nullptr) == functions.end()) {
                return loaded[file] = functions;
            }
        }
        reason = module.errorString();
    }
    return Error{reason.toStdString()};
}

}  // namespace pesterly
