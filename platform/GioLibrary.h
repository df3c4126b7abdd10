// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

// The GIO and GObject functions that opening files needs, read from
// libgio-2.0 on first use rather than linked: linking it maps and
// initialises GIO, GObject and their libraries at every start, for
// something first needed when the user clicks a button. The headers still
// give the types and constants; only these calls go through the pointers.
// GObject's inline helpers (g_autoptr of an object, the G_IS_ and cast
// macros) call GObject directly and must not be used with them.
struct GioLibrary {
    decltype(&g_object_unref) objectUnref;
    decltype(&g_type_check_instance_is_a) typeCheckInstanceIsA;
    decltype(&g_app_info_get_default_for_type) appInfoGetDefaultForType;
    decltype(&g_app_info_launch_default_for_uri) appInfoLaunchDefaultForUri;
    decltype(&g_desktop_app_info_get_type) desktopAppInfoGetType;
    decltype(&g_desktop_app_info_new_from_filename) desktopAppInfoNewFromFilename;
    decltype(&g_desktop_app_info_new_from_keyfile) desktopAppInfoNewFromKeyfile;
    decltype(&g_desktop_app_info_get_string) desktopAppInfoGetString;
    decltype(&g_desktop_app_info_launch_uris_as_manager) desktopAppInfoLaunchUrisAsManager;
    decltype(&g_file_new_for_path) fileNewForPath;
    decltype(&g_file_get_uri) fileGetUri;
    decltype(&g_file_query_info) fileQueryInfo;
    decltype(&g_file_info_get_content_type) fileInfoGetContentType;

    // The functions, loaded once by whichever thread asks first. Null when
    // the library or one of them is missing, with a translated reason in
    // `error`; a later call gives the same answer without trying again.
    static const GioLibrary *get(QString *error);
};
