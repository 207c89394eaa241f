#include "tools/modelgen/model_writers.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdint>
#include <string_view>

namespace korvane::modelgen {
namespace {

// The Metasequoia reader's conversion to model units, which the LightWave file is given directly.
constexpr float kImportScale = 0.1f;

class TextOut {
  public:
    explicit TextOut(std::size_t expected) { text_.reserve(expected); }

    TextOut& operator<<(std::string_view part) {
        text_ += part;
        return *this;
    }
    TextOut& operator<<(char c) {
        text_.push_back(c);
        return *this;
    }
    // Shortest text that reads back as the same float.
    TextOut& operator<<(float value) { return Number(value); }
    TextOut& operator<<(std::int64_t value) { return Number(value); }
    TextOut& operator<<(std::int32_t value) { return Number(value); }

    void AppendBytes(std::string_view bytes) { text_ += bytes; }
    std::string Take() { return std::move(text_); }

  private:
    template <class T>
    TextOut& Number(T value) {
        char buffer[32];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
        text_.append(buffer, result.ptr);
        return *this;
    }

    std::string text_;
};

void WriteHeader(TextOut& out, const GeneratedModel& model) {
    out << "Metasequoia Document\nFormat Text Ver 1.0\n\n"
        << "Material 1 {\n\t\"mat1\" shader(3) col(0.800 0.800 0.800 1.000) dif(0.800) "
           "amb(0.600) emi(0.000) spc(0.000) power(5.00)\n}\n"
        << "Object \"" << model.name << "\" {\n"
        << "\tdepth 0\n\tfolding 0\n\tscale 1.000000 1.000000 1.000000\n"
        << "\trotation 0.000000 0.000000 0.000000\n\ttranslation 0.000000 0.000000 0.000000\n"
        << "\tvisible 15\n\tlocking 0\n\tshading 1\n\tfacet 59.5\n"
        << "\tcolor 0.898 0.498 0.698\n\tcolor_type 0\n";
    if (model.mirror != 0) {
        out << "\tmirror " << model.mirror << "\n\tmirror_axis " << model.mirrorAxes << '\n';
    }
    if (model.lathe != 0) {
        out << "\tlathe " << model.lathe << "\n\tlathe_axis " << model.latheAxis << "\n\tlathe_seg "
            << model.latheSegments << '\n';
    }
}

void WriteFacesAndEnd(TextOut& out, const GeneratedModel& model) {
    out << "\tface " << model.FaceCount() << " {\n";
    std::size_t corner = 0;
    for (const std::uint8_t count : model.cornerCounts) {
        out << "\t\t" << static_cast<std::int32_t>(count) << " V(";
        for (std::uint8_t k = 0; k < count; ++k) {
            out << (k == 0 ? "" : " ") << model.corners[corner++];
        }
        out << ")\n";
    }
    out << "\t}\n}\nEof\n";
}

std::size_t ExpectedTextBytes(const GeneratedModel& model) {
    return 1024 + 36 * model.positions.size() + 12 * model.corners.size();
}

void PutBigEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) {
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
    }
}

void PutFloat(std::string& out, float value) {
    PutBigEndian(out, std::bit_cast<std::uint32_t>(value), 4);
}

// A variable-length index: two bytes below 0xFF00, else four with 0xFF in the first.
void PutIndex(std::string& out, std::uint32_t index) {
    if (index < 0xFF00) {
        PutBigEndian(out, index, 2);
    } else {
        PutBigEndian(out, 0xFF000000u | index, 4);
    }
}

// A NUL-terminated string padded to an even length.
void PutName(std::string& out, std::string_view name) {
    out += name;
    out.push_back('\0');
    if (name.size() % 2 == 0) {
        out.push_back('\0');
    }
}

void PutChunk(std::string& out, std::string_view id, const std::string& data) {
    out += id;
    PutBigEndian(out, static_cast<std::uint32_t>(data.size()), 4);
    out += data;
    if (data.size() % 2 != 0) {
        out.push_back('\0');
    }
}

Vec3 ModelUnits(const Vec3& p) {
    return Vec3{p.x * kImportScale, p.y * kImportScale, -(p.z * kImportScale)};
}

}  // namespace

std::string WriteMqoText(const GeneratedModel& model) {
    TextOut out(ExpectedTextBytes(model));
    WriteHeader(out, model);
    out << "\tvertex " << static_cast<std::int64_t>(model.positions.size()) << " {\n";
    for (const Vec3& p : model.positions) {
        out << "\t\t" << p.x << ' ' << p.y << ' ' << p.z << '\n';
    }
    out << "\t}\n";
    WriteFacesAndEnd(out, model);
    return out.Take();
}

std::string WriteMqoBinary(const GeneratedModel& model) {
    TextOut out(ExpectedTextBytes(model));
    WriteHeader(out, model);
    const auto count = static_cast<std::int64_t>(model.positions.size());
    out << "\tBVertex " << count << " {\n\t\tVector " << count << " [" << 12 * count << "]\n";
    std::string block;
    block.reserve(static_cast<std::size_t>(12 * count));
    for (const Vec3& p : model.positions) {
        for (const float value : {p.x, p.y, p.z}) {
            const auto bits = std::bit_cast<std::uint32_t>(value);
            for (int shift = 0; shift < 32; shift += 8) {
                block.push_back(static_cast<char>((bits >> shift) & 0xFF));
            }
        }
    }
    out.AppendBytes(block);
    out << "\n\t}\n";
    WriteFacesAndEnd(out, model);
    return out.Take();
}

std::string WriteLwo2(const GeneratedModel& model) {
    std::string body = "LWO2";
    std::string data;
    PutName(data, "Default");
    PutChunk(body, "TAGS", data);

    data.assign(16, '\0');  // layer 0, no flags, pivot at the origin
    PutName(data, model.name);
    PutChunk(body, "LAYR", data);

    data.clear();
    data.reserve(12 * model.positions.size());
    Vec3 low = model.positions.empty() ? Vec3{} : ModelUnits(model.positions.front());
    Vec3 high = low;
    for (const Vec3& position : model.positions) {
        const Vec3 p = ModelUnits(position);
        PutFloat(data, p.x);
        PutFloat(data, p.y);
        PutFloat(data, p.z);
        low.Set(std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z));
        high.Set(std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z));
    }
    PutChunk(body, "PNTS", data);

    data.clear();
    for (const float value : {low.x, low.y, low.z, high.x, high.y, high.z}) {
        PutFloat(data, value);
    }
    PutChunk(body, "BBOX", data);

    data = "FACE";
    std::size_t corner = 0;
    for (const std::uint8_t count : model.cornerCounts) {
        PutBigEndian(data, count, 2);
        for (std::uint8_t k = 0; k < count; ++k) {
            PutIndex(data, static_cast<std::uint32_t>(model.corners[corner++]));
        }
    }
    PutChunk(body, "POLS", data);

    data = "SURF";
    for (std::uint32_t face = 0; face < model.cornerCounts.size(); ++face) {
        PutIndex(data, face);
        PutBigEndian(data, 0, 2);
    }
    PutChunk(body, "PTAG", data);

    data.clear();
    PutName(data, "Default");
    PutName(data, "");
    data += "COLR";
    PutBigEndian(data, 14, 2);
    for (const float value : {0.8f, 0.8f, 0.8f}) {
        PutFloat(data, value);
    }
    PutBigEndian(data, 0, 2);
    data += "DIFF";
    PutBigEndian(data, 6, 2);
    PutFloat(data, 1.0f);
    PutBigEndian(data, 0, 2);
    PutChunk(body, "SURF", data);

    std::string file;
    file.reserve(8 + body.size());
    file += "FORM";
    PutBigEndian(file, static_cast<std::uint32_t>(body.size()), 4);
    file += body;
    return file;
}

std::string WriteObj(const GeneratedModel& model) {
    TextOut out(ExpectedTextBytes(model));
    out << "o " << model.name << '\n';
    for (const Vec3& p : model.positions) {
        out << "v " << p.x * kImportScale << ' ' << p.y * kImportScale << ' ' << p.z * kImportScale
            << '\n';
    }
    std::size_t corner = 0;
    for (const std::uint8_t count : model.cornerCounts) {
        out << (count == 2 ? "l" : "f");
        for (std::uint8_t k = 0; k < count; ++k) {
            out << ' ' << model.corners[corner++] + 1;
        }
        out << '\n';
    }
    return out.Take();
}

}  // namespace korvane::modelgen
