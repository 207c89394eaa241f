#include "import/lightwave_parser.h"

#include <memory>
#include <string>

#include "import/lightwave_chunks.h"
#include "import/lightwave_geometry.h"

namespace korvane {

namespace {

constexpr std::size_t kHeaderBytes = 12;          // "FORM", size, form type
constexpr std::uint32_t kLayerColour = 0xFFFFFF;  // a new object's own colour, kept for layers
constexpr std::size_t kPolygonTypeBytes = 4;

void ReadLwobBody(BigEndianReader& body, std::string_view fileTitle, const MeshHandler& onObject,
                  bool& truncated) {
    PolyMesh mesh;
    for (IffChunk chunk; ReadChunk(body, chunk, truncated);) {
        if (chunk.id == "PNTS") {
            AppendPoints(mesh, chunk.data);
        } else if (chunk.id == "POLS" || chunk.id == "PCHS") {
            AppendLwobPolygons(mesh, chunk.data);
        }
    }
    mesh.name = std::string(fileTitle);
    onObject(mesh);
}

// LWO2 and LWO3. Each layer's points and polygons go into a mesh of their own, so indices count
// from 0 again. LWO3's surfaces, clips and envelopes come as nested "FORM" chunks, which are
// skipped by their sizes like any other chunk not read here.
void ReadLayeredBody(BigEndianReader& body, std::string_view fileTitle, const MeshHandler& onObject,
                     bool& truncated) {
    auto mesh = std::make_unique<PolyMesh>();
    std::string layerName;
    const auto handOver = [&] {
        mesh->name = layerName.empty() ? std::string(fileTitle) : layerName;
        mesh->colour = kLayerColour;
        mesh->SplitFaces();
        onObject(*mesh);
        mesh = std::make_unique<PolyMesh>();
    };
    bool layerStarted = false;
    for (IffChunk chunk; ReadChunk(body, chunk, truncated);) {
        if (chunk.id == "LAYR") {
            if (layerStarted) {
                handOver();
            }
            layerName = LayerName(chunk.data);
            layerStarted = true;
        } else if (chunk.id == "PNTS") {
            AppendPoints(*mesh, chunk.data);
        } else if (chunk.id == "POLS" && chunk.data.size() >= kPolygonTypeBytes) {
            const std::string_view type = chunk.data.substr(0, kPolygonTypeBytes);
            if (type == "FACE" || type == "PTCH") {  // a patch's cage is its polygon
                AppendLwo2Polygons(*mesh, chunk.data.substr(kPolygonTypeBytes));
            }
        }
    }
    handOver();
}

}  // namespace

ParseOutcome ParseLightWave(std::string_view bytes, std::string_view fileTitle,
                            const MeshHandler& onObject) {
    ParseOutcome outcome;
    const std::string_view formType = bytes.size() >= kHeaderBytes ? bytes.substr(8, 4) : "";
    if (!IsLightWaveFormType(formType)) {
        outcome.recognised = false;
        return outcome;
    }
    BigEndianReader body(bytes.substr(kHeaderBytes));
    if (formType == "LWOB") {
        ReadLwobBody(body, fileTitle, onObject, outcome.truncated);
    } else {
        ReadLayeredBody(body, fileTitle, onObject, outcome.truncated);
    }
    return outcome;
}

}  // namespace korvane
