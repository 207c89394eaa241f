#pragma once

#include <string>

#include "tools/modelgen/generated_model.h"

namespace korvane::modelgen {

// A Metasequoia text file with the vertices as text.
std::string WriteMqoText(const GeneratedModel& model);

// The same with the vertices as a binary BVertex block.
std::string WriteMqoBinary(const GeneratedModel& model);

// A LightWave LWO2 file of one layer and one surface without a smoothing angle. Positions are
// converted to the model units the Metasequoia reader produces, bit for bit; modifier settings
// have no place in it and are left out.
std::string WriteLwo2(const GeneratedModel& model);

// A Wavefront OBJ file of one object, read through assimp. Positions are in the model units the
// Metasequoia reader produces, with Z as the Metasequoia file has it: the import reverses Z for
// both. Lines are "l" elements; modifier settings have no place in it.
std::string WriteObj(const GeneratedModel& model);

}  // namespace korvane::modelgen
