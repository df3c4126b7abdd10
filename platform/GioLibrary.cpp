// SPDX-License-Identifier: MIT
#include "platform/GioLibrary.h"

#include <QCoreApplication>

#include <dlfcn.h>

namespace {

struct Loaded {
    GioLibrary functions{};
    bool ok = false;
    QString reason; // the loader's own words, untranslated
};

template<typename Function>
bool resolve(void *library, const char *name, Function *slot, QString *reason)
{
    *slot = reinterpret_cast<Function>(dlsym(library, name));
    if (!*slot)
        *reason = QString::fromLocal8Bit(dlerror());
    return *slot != nullptr;
}

// The name looked up is written once, as the declared function, and the
// member must have that function's type: a misspelt or mismatched row does
// not compile.
#define QB_RESOLVE(member, symbol) \
    resolve<decltype(&symbol)>(library, #symbol, &loaded.functions.member, &loaded.reason)

Loaded load()
{
    Loaded loaded;
    // Local: nothing else in the process should bind to these symbols by
    // chance. GObject comes with GIO as its dependency, and dlsym on this
    // handle searches it too. The handle is never closed: GObject cannot be
    // unloaded.
    void *library = dlopen("libgio-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        loaded.reason = QString::fromLocal8Bit(dlerror());
        return loaded;
    }
    loaded.ok = QB_RESOLVE(objectUnref, g_object_unref) && QB_RESOLVE(typeCheckInstanceIsA, g_type_check_instance_is_a)
                && QB_RESOLVE(appInfoGetDefaultForType, g_app_info_get_default_for_type)
                && QB_RESOLVE(appInfoLaunchDefaultForUri, g_app_info_launch_default_for_uri)
                && QB_RESOLVE(desktopAppInfoGetType, g_desktop_app_info_get_type)
                && QB_RESOLVE(desktopAppInfoNewFromFilename, g_desktop_app_info_new_from_filename)
                && QB_RESOLVE(desktopAppInfoNewFromKeyfile, g_desktop_app_info_new_from_keyfile)
                && QB_RESOLVE(desktopAppInfoGetString, g_desktop_app_info_get_string)
                && QB_RESOLVE(desktopAppInfoLaunchUrisAsManager, g_desktop_app_info_launch_uris_as_manager)
                && QB_RESOLVE(fileNewForPath, g_file_new_for_path) && QB_RESOLVE(fileGetUri, g_file_get_uri)
                && QB_RESOLVE(fileQueryInfo, g_file_query_info)
                && QB_RESOLVE(fileInfoGetContentType, g_file_info_get_content_type);
    return loaded;
}

#undef QB_RESOLVE

} // namespace

const GioLibrary *GioLibrary::get(QString *error)
{
    // Opens run on a thread pool: the first ones may race here.
    static const Loaded loaded = load();
    if (loaded.ok)
        return &loaded.functions;
    //: %1 is the system's reason.
    *error = QCoreApplication::translate("GioLibrary", "GIO を読み込めません。%1").arg(loaded.reason);
    return nullptr;
}
