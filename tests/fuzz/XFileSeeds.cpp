// Seeds of the mesh file readers: small meshes in every encoding and a
// skinned bar with animation sets, from the mesh file writer, and the
// damaged kinds worth keeping: a compressed file that inflates beyond what
// any mesh needs, and a mesh with two normal lists.
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "fuzz/FuzzSeeds.h"
#include "fuzz/XFileSeedData.h"

namespace {

// The "bzip" encoding of a binary body: 32 KiB blocks, each raw deflate.
std::string Compressed(const std::string& body) {
  std::string out = "xof 0303bzip0032";
  const uint32_t total = static_cast<uint32_t>(body.size()) + 16;
  out.append(reinterpret_cast<const char*>(&total), 4);
  const size_t block = 32768;
  for (size_t at = 0; at < body.size(); at += block) {
    const size_t n = std::min(block, body.size() - at);
    std::string packed(n + 1024, '\0');
    z_stream zs;
    std::memset(&zs, 0, sizeof zs);
    deflateInit2(&zs, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(body.data() + at));
    zs.avail_in = static_cast<uInt>(n);
    zs.next_out = reinterpret_cast<Bytef*>(&packed[0]);
    zs.avail_out = static_cast<uInt>(packed.size());
    deflate(&zs, Z_FINISH);
    packed.resize(packed.size() - zs.avail_out);
    deflateEnd(&zs);
    const uint16_t plain = static_cast<uint16_t>(n), size = static_cast<uint16_t>(packed.size() + 2);
    out.append(reinterpret_cast<const char*>(&plain), 2);
    out.append(reinterpret_cast<const char*>(&size), 2);
    out += "CK";
    out += packed;
  }
  return out;
}

void PutWord(std::string& out, uint16_t v) { out.append(reinterpret_cast<const char*>(&v), 2); }
void PutDword(std::string& out, uint32_t v) { out.append(reinterpret_cast<const char*>(&v), 4); }

// A binary body holding one float list of the given length.
std::string HugeFloatList(uint32_t floats) {
  std::string body;
  PutWord(body, 7);
  PutDword(body, floats);
  body.append(static_cast<size_t>(floats) * 4, '\0');
  return body;
}

const char TWO_NORMAL_LISTS[] =
    "xof 0303txt 0032\n"
    "Mesh Tri {\n"
    " 3;\n 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;;\n"
    " 1;\n 3;0,1,2;;\n"
    " MeshNormals {\n  3;\n  0.0;0.0;1.0;, 0.0;0.0;1.0;, 0.0;0.0;1.0;;\n  1;\n  3;0,1,2;;\n }\n"
    " MeshNormals {\n  1;\n  0.0;0.0;-1.0;;\n  1;\n  3;0,0,0;;\n }\n"
    "}\n";

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

}  // namespace

std::vector<std::vector<uint8_t>> KarvessaFuzzSeeds() {
  std::vector<std::vector<uint8_t>> seeds;
  for (const std::string& s : xfuzz::SeedFiles()) seeds.push_back(Bytes(s));
  seeds.push_back(Bytes(Compressed(HugeFloatList((17u << 20) / 4))));
  seeds.push_back(Bytes(TWO_NORMAL_LISTS));
  return seeds;
}
