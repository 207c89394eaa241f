#pragma once

#include <string>
#include <string_view>

#include "import/import_status.h"
#include "import/mqoz_archive.h"
#include "import/object_sink.h"

namespace korvane {

// Imports a Metasequoia (.mqo) text model: one object per Object chunk, appended to the sink as
// each chunk ends, coordinates scaled by 0.1 with Z reversed, lathe and mirror baked in. The file
// is opened read-only. kCannotOpen: no such file, unreadable; kNotRegularFile: a folder, a pipe,
// a device or a socket; kNotThatFormat: the first word is not "Metasequoia" (nothing added).
// A compressed Metasequoia file (.mqoz, a zip archive holding the .mqo) is told by its content and
// imports exactly as the .mqo inside it; the kArchive... statuses say why one could not be
// unpacked (nothing added). The result tells how many .mqo members it held and which was read.
ImportResult ImportMetasequoia(const std::string& path, ObjectSink& sink);
ImportResult ImportMetasequoiaBytes(std::string_view bytes, ObjectSink& sink);
// The same, with the archive's unpacked size held to `limits`.
ImportResult ImportMetasequoiaBytesWithin(std::string_view bytes, ObjectSink& sink,
                                          const ArchiveLimits& limits);

}  // namespace korvane
