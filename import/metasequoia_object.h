#pragma once

#include <string>

#include "import/byte_scanner.h"
#include "import/parse_outcome.h"
#include "mesh/poly_mesh.h"

namespace korvane {

// Reads one Object chunk, from its name token on, into `mesh`: settings, vertices (text or binary
// block), vertex attributes (read past) and faces (into `faces`, not yet split). Returns the token
// that follows the chunk, which the caller examines next. Sets `outcome.truncated` when the bytes
// end inside the chunk; the mesh then keeps what was read: the vertices and the complete face
// lines. Counts a binary vertex block whose vertex count and byte count disagree, and the object
// when its mirror mode is none of MirrorMode's (the mesh is then left unmirrored).
std::string ReadMetasequoiaObject(ByteScanner& scanner, PolyMesh& mesh, ParseOutcome& outcome);

// The object's name from its name token: the double quotes around it go; an empty name becomes
// "metaseq_obj_01"; a name without a leading quote keeps all its bytes.
std::string MetasequoiaObjectName(std::string token);

// Packs colour components of 0 to 1 into 0x00BBGGRR: each byte is the low 8 bits of the
// component times 255, truncated toward zero (0 for a NaN or infinite component).
std::uint32_t PackMetasequoiaColour(float red, float green, float blue);

}  // namespace korvane
