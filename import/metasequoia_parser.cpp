#include "import/metasequoia_parser.h"

#include <cstdint>
#include <string>

#include "import/byte_scanner.h"
#include "import/metasequoia_object.h"

namespace korvane {

namespace {

constexpr std::size_t kLongestMaterialKeyword = 6;  // "power(", "alpha("

void SkipScene(ByteScanner& scanner, bool& truncated) {
    scanner.ReadToken();  // opening brace
    // The first "}" ends the scene, also one that closes a nested block (the rest of the scene
    // is then skipped word by word at the top level).
    for (std::string token = scanner.ReadToken(); token != "}"; token = scanner.ReadToken()) {
        if (token.empty()) {
            truncated = true;
            return;
        }
        if (token == "pos" || token == "lookat" || token == "amb") {
            scanner.SkipFloats(3);
        } else if (token == "head" || token == "pich" || token == "bank" || token == "zoom2") {
            scanner.SkipFloats(1);
        } else if (token == "ortho") {
            scanner.SkipInt();
        }
    }
}

// Reads the value after a parameter keyword such as "col(" or "tex(", up to its closing
// parenthesis. False when `word` is no such keyword.
bool SkipMaterialValue(ByteScanner& scanner, const std::string& word) {
    if (word == "col(") {
        scanner.SkipFloats(4);
        return true;
    }
    if (word == "dif(" || word == "amb(" || word == "emi(" || word == "spc(" || word == "power(") {
        scanner.SkipFloats(1);
        return true;
    }
    if ((word == "tex(" || word == "alpha(" || word == "bump(") && scanner.PeekByte() == '"') {
        scanner.ReadByte();
        // A path may hold blanks and parentheses; it ends at its quote (or, unclosed, at the
        // line's end).
        while (scanner.PeekByte() != '"' && scanner.PeekByte() != '\n' && !scanner.AtEnd()) {
            scanner.ReadByte();
        }
        if (scanner.PeekByte() == '"') {
            scanner.ReadByte();
        }
        return true;
    }
    return false;
}

// "name" shader(3) col(1 1 1 1) dif(0.8) ... tex("path") -- one line per material
void SkipMaterialLine(ByteScanner& scanner) {
    scanner.ReadToken();  // the material's name
    std::string word;     // the current run of non-blank bytes, no longer than a keyword can match
    while (true) {
        const int c = scanner.ReadByte();
        if (c == -1 || c == '\n') {
            return;
        }
        if (c == ' ' || c == '\t') {
            word.clear();
            continue;
        }
        if (word.size() <= kLongestMaterialKeyword) {
            word.push_back(static_cast<char>(c));
        }
        if (!SkipMaterialValue(scanner, word)) {
            continue;
        }
        word.clear();
        const int closing = scanner.ReadByte();  // the ')' after the value
        if (closing == -1 || closing == '\n') {
            return;
        }
    }
}

void SkipMaterials(ByteScanner& scanner, bool& truncated) {
    std::int32_t count = 0;
    scanner.ReadInt(count);
    scanner.ReadToken();  // opening brace
    for (std::int32_t i = 0; i < count; ++i) {
        scanner.SkipWhiteSpace();
        if (scanner.AtEnd()) {
            truncated = true;
            return;
        }
        SkipMaterialLine(scanner);
    }
    if (scanner.ReadToken().empty()) {
        truncated = true;
    }
}

}  // namespace

ParseOutcome ParseMetasequoia(std::string_view bytes, const MeshHandler& onObject) {
    ParseOutcome outcome;
    ByteScanner scanner(bytes);
    if (scanner.ReadToken() != "Metasequoia") {
        outcome.recognised = false;
        return outcome;
    }
    std::string token = scanner.ReadToken();  // "Document"
    // Any other word at the top level (a header line, an unknown chunk's contents) is skipped.
    while (!token.empty() && token != "Eof") {
        if (token == "Object") {
            PolyMesh mesh;
            token = ReadMetasequoiaObject(scanner, mesh, outcome);
            mesh.SplitFaces();
            onObject(mesh);
            continue;
        }
        if (token == "Scene") {
            SkipScene(scanner, outcome.truncated);
        } else if (token == "Material") {
            SkipMaterials(scanner, outcome.truncated);
        }
        token = scanner.ReadToken();
    }
    return outcome;
}

}  // namespace korvane
