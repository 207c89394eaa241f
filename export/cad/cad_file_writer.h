#pragma once

// The network's headers come before OpenCASCADE's, whose Handle macro would otherwise rewrite
// SplineNode::Handle.
#include "export/cad/cad_export.h"
#include "export/write_status.h"

#include <TDocStd_Document.hxx>

#include <string>

namespace korvane {

// Writes document to path as STEP AP214 or as IGES with its B-rep topology, in centimetres, and
// puts the file in place whole (WriteFileAtomically) or not at all. OpenCASCADE's settings are
// process-wide, so writes are taken one at a time; its messenger is silenced first.
WriteResult WriteCadDocument(const std::string& path, const Handle(TDocStd_Document) & document,
                             CadFormat format);

// Silences OpenCASCADE's messenger, which prints transfer statistics on standard output, and
// readies its STEP and IGES translators. Idempotent; WriteCadDocument calls it.
void PrepareOpenCascade();

}  // namespace korvane
