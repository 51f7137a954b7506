#include "standins/kx3d/d3d9_shaders_win32.h"

#include <d3d9.h>

#include <cstring>
#include <initializer_list>

namespace kx::kx3d::d3d9 {
namespace {

struct Reg {
  D3DSHADER_PARAM_REGISTER_TYPE type;
  int number;
};

DWORD RegisterBits(Reg r) {
  const auto type = static_cast<DWORD>(r.type);
  return 0x80000000u | ((type << D3DSP_REGTYPE_SHIFT) & D3DSP_REGTYPE_MASK) |
         ((type << D3DSP_REGTYPE_SHIFT2) & D3DSP_REGTYPE_MASK2) | static_cast<DWORD>(r.number);
}

// "xyz" -> write mask.
DWORD Mask(const char* components) {
  DWORD mask = 0;
  for (const char* c = components; *c; ++c) {
    mask |= D3DSP_WRITEMASK_0 << (std::strchr("xyzw", *c) - "xyzw");
  }
  return mask;
}

// "x" -> .xxxx, "yx" -> .yxxx: the last component repeats, as in assembly.
DWORD Swizzle(const char* components) {
  const std::size_t length = std::strlen(components);
  DWORD swizzle = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    const char c = components[i < length ? i : length - 1];
    swizzle |= static_cast<DWORD>(std::strchr("xyzw", c) - "xyzw") << (D3DSP_SWIZZLE_SHIFT + 2 * i);
  }
  return swizzle;
}

struct Dst {
  Reg reg;
  const char* mask = "xyzw";
};
struct Src {
  Reg reg;
  const char* swizzle = "xyzw";
  bool negate = false;
};

Reg r(int n) { return {D3DSPR_TEMP, n}; }
Reg c(int n) { return {D3DSPR_CONST, n}; }
Reg v(int n) { return {D3DSPR_INPUT, n}; }
Reg t(int n) { return {D3DSPR_TEXTURE, n}; }
Reg s(int n) { return {D3DSPR_SAMPLER, n}; }
Reg oT(int n) { return {D3DSPR_TEXCRDOUT, n}; }
Reg oD(int n) { return {D3DSPR_ATTROUT, n}; }
const Reg oPos{D3DSPR_RASTOUT, D3DSRO_POSITION};
const Reg oC0{D3DSPR_COLOROUT, 0};

Src Neg(Reg reg, const char* swizzle = "xyzw") { return {reg, swizzle, true}; }

class ShaderWriter {
 public:
  explicit ShaderWriter(DWORD version) { tokens_.push_back(version); }

  void Op(D3DSHADER_INSTRUCTION_OPCODE_TYPE op, Dst dst, std::initializer_list<Src> sources) {
    tokens_.push_back(static_cast<DWORD>(op) |
                      (static_cast<DWORD>(1 + sources.size()) << D3DSI_INSTLENGTH_SHIFT));
    tokens_.push_back(RegisterBits(dst.reg) | Mask(dst.mask));
    for (const Src& src : sources) {
      tokens_.push_back(RegisterBits(src.reg) | Swizzle(src.swizzle) |
                        (src.negate ? D3DSPSM_NEG : 0));
    }
  }
  // dcl_usage for vertex shader inputs.
  void DclInput(D3DDECLUSAGE usage, Reg reg) {
    tokens_.push_back(D3DSIO_DCL | (2u << D3DSI_INSTLENGTH_SHIFT));
    tokens_.push_back(0x80000000u | (static_cast<DWORD>(usage) << D3DSP_DCL_USAGE_SHIFT));
    tokens_.push_back(RegisterBits(reg) | D3DSP_WRITEMASK_ALL);
  }
  // dcl for pixel shader inputs (t#, v#) with the components used.
  void DclPixelInput(Reg reg, const char* mask) {
    tokens_.push_back(D3DSIO_DCL | (2u << D3DSI_INSTLENGTH_SHIFT));
    tokens_.push_back(0x80000000u);
    tokens_.push_back(RegisterBits(reg) | Mask(mask));
  }
  void DclSampler2D(Reg reg) {
    tokens_.push_back(D3DSIO_DCL | (2u << D3DSI_INSTLENGTH_SHIFT));
    tokens_.push_back(0x80000000u | D3DSTT_2D);
    tokens_.push_back(RegisterBits(reg) | D3DSP_WRITEMASK_ALL);
  }
  void Def(Reg reg, float x, float y, float z, float w) {
    tokens_.push_back(D3DSIO_DEF | (5u << D3DSI_INSTLENGTH_SHIFT));
    tokens_.push_back(RegisterBits(reg) | D3DSP_WRITEMASK_ALL);
    for (float f : {x, y, z, w}) {
      DWORD bits;
      std::memcpy(&bits, &f, sizeof(bits));
      tokens_.push_back(bits);
    }
  }
  std::vector<DWORD> Finish() {
    tokens_.push_back(D3DSIO_END);
    return std::move(tokens_);
  }

 private:
  std::vector<DWORD> tokens_;
};

// dst.xyz = normalize(src.xyz), using dst.w on the way.
void Normalize(ShaderWriter& w, int dst, Src src) {
  w.Op(D3DSIO_DP3, {r(dst), "w"}, {src, src});
  w.Op(D3DSIO_RSQ, {r(dst), "w"}, {{r(dst), "w"}});
  w.Op(D3DSIO_MUL, {r(dst), "xyz"}, {src, {r(dst), "w"}});
}

}  // namespace

std::vector<DWORD> ShadowDepthVertexShader() {
  ShaderWriter w(D3DVS_VERSION(2, 0));
  w.DclInput(D3DDECLUSAGE_POSITION, v(0));
  w.Op(D3DSIO_M4x4, {r(0)}, {{v(0)}, {c(0)}});
  w.Op(D3DSIO_MOV, {oPos}, {{r(0)}});
  w.Op(D3DSIO_MOV, {oT(0)}, {{r(0)}});
  return w.Finish();
}

std::vector<DWORD> ShadowDepthPixelShader() {
  ShaderWriter w(D3DPS_VERSION(2, 0));
  w.DclPixelInput(t(0), "xyzw");
  // The sun's projection is orthographic: clip depth needs no division.
  w.Op(D3DSIO_MOV, {r(0)}, {{t(0), "z"}});
  w.Op(D3DSIO_MOV, {oC0}, {{r(0)}});
  return w.Finish();
}

std::vector<DWORD> SceneVertexShader(bool per_pixel) {
  ShaderWriter w(D3DVS_VERSION(2, 0));
  w.DclInput(D3DDECLUSAGE_POSITION, v(0));
  w.DclInput(D3DDECLUSAGE_NORMAL, v(1));
  w.Def(c(11), 0.0f, 1.0f, 0.0f, 0.0f);
  w.Op(D3DSIO_M4x4, {oPos}, {{v(0)}, {c(0)}});
  w.Op(D3DSIO_M4x4, {oT(1)}, {{v(0)}, {c(4)}});
  if (per_pixel) {
    w.Op(D3DSIO_MOV, {oT(0), "xyz"}, {{v(1)}});
    w.Op(D3DSIO_MOV, {oT(2), "xyz"}, {{v(0)}});
    return w.Finish();
  }
  // Gouraud: oD0 = colour x ambient, oD1 = colour x sunlight x max(N.L, 0).
  w.Op(D3DSIO_DP3, {r(0), "x"}, {{v(1)}, {c(8)}});
  w.Op(D3DSIO_MAX, {r(0), "x"}, {{r(0), "x"}, {c(11), "x"}});
  w.Op(D3DSIO_MOV, {r(1)}, {{c(10)}});
  w.Op(D3DSIO_MUL, {r(0), "x"}, {{r(0), "x"}, {r(1), "y"}});
  w.Op(D3DSIO_MUL, {r(2), "xyz"}, {{c(9)}, {r(1), "x"}});
  w.Op(D3DSIO_MUL, {r(3), "xyz"}, {{c(9)}, {r(0), "x"}});
  w.Op(D3DSIO_MOV, {r(2), "w"}, {{c(11), "y"}});
  w.Op(D3DSIO_MOV, {r(3), "w"}, {{c(11), "y"}});
  w.Op(D3DSIO_MOV, {oD(0)}, {{r(2)}});
  w.Op(D3DSIO_MOV, {oD(1)}, {{r(3)}});
  return w.Finish();
}

std::vector<DWORD> ScenePixelShader(bool per_pixel, bool shadows) {
  ShaderWriter w(D3DPS_VERSION(2, 0));
  if (per_pixel) {
    w.DclPixelInput(t(0), "xyz");
    w.DclPixelInput(t(2), "xyz");
  } else {
    w.DclPixelInput(v(0), "xyzw");
    w.DclPixelInput(v(1), "xyzw");
  }
  if (shadows) {
    w.DclPixelInput(t(1), "xyz");
    w.DclSampler2D(s(0));
  }

  // r5.x: the share of sunlight reaching the pixel, from four taps of the
  // shadow map around it (1 = lit, 0 = in shadow).
  if (shadows) {
    w.Op(D3DSIO_ADD, {r(1), "xy"}, {{t(1)}, {c(4), "yy"}});
    w.Op(D3DSIO_ADD, {r(2), "xy"}, {{t(1)}, {c(4), "xy"}});
    w.Op(D3DSIO_ADD, {r(3), "xy"}, {{t(1)}, {c(4), "yx"}});
    w.Op(D3DSIO_ADD, {r(4), "xy"}, {{t(1)}, {c(4), "xx"}});
    w.Op(D3DSIO_TEX, {r(1)}, {{r(1)}, {s(0)}});
    w.Op(D3DSIO_TEX, {r(2)}, {{r(2)}, {s(0)}});
    w.Op(D3DSIO_TEX, {r(3)}, {{r(3)}, {s(0)}});
    w.Op(D3DSIO_TEX, {r(4)}, {{r(4)}, {s(0)}});
    w.Op(D3DSIO_MOV, {r(6), "x"}, {{r(1), "x"}});
    w.Op(D3DSIO_MOV, {r(6), "y"}, {{r(2), "x"}});
    w.Op(D3DSIO_MOV, {r(6), "z"}, {{r(3), "x"}});
    w.Op(D3DSIO_MOV, {r(6), "w"}, {{r(4), "x"}});
    // Lit where the stored depth reaches this pixel's depth less the bias.
    w.Op(D3DSIO_ADD, {r(7), "x"}, {{t(1), "z"}, Neg(c(5), "x")});
    w.Op(D3DSIO_ADD, {r(6)}, {{r(6)}, Neg(r(7), "x")});
    w.Op(D3DSIO_CMP, {r(6)}, {{r(6)}, {c(5), "w"}, {c(5), "z"}});
    w.Op(D3DSIO_DP4, {r(5), "x"}, {{r(6)}, {c(5), "y"}});
  } else {
    w.Op(D3DSIO_MOV, {r(5), "x"}, {{c(5), "w"}});
  }

  if (!per_pixel) {
    // Colour = ambient part + sunlit part x share of sunlight.
    w.Op(D3DSIO_MAD, {r(0)}, {{v(1)}, {r(5), "x"}, {v(0)}});
    w.Op(D3DSIO_MOV, {r(0), "w"}, {{c(5), "w"}});
    w.Op(D3DSIO_MOV, {oC0}, {{r(0)}});
    return w.Finish();
  }

  Normalize(w, 8, {t(0)});                               // r8: normal
  w.Op(D3DSIO_ADD, {r(9), "xyz"}, {{c(1)}, Neg(t(2))});  // towards the eye
  Normalize(w, 9, {r(9)});                               // r9: view direction
  w.Op(D3DSIO_ADD, {r(10), "xyz"}, {{r(9)}, {c(0)}});
  Normalize(w, 10, {r(10)});                         // r10: half vector
  w.Op(D3DSIO_DP3, {r(11), "x"}, {{r(8)}, {c(0)}});  // N.L
  w.Op(D3DSIO_MAX, {r(11), "x"}, {{r(11), "x"}, {c(5), "z"}});
  w.Op(D3DSIO_DP3, {r(11), "y"}, {{r(8)}, {r(10)}});  // N.H
  w.Op(D3DSIO_MAX, {r(11), "y"}, {{r(11), "y"}, {c(5), "z"}});
  w.Op(D3DSIO_MOV, {r(7)}, {{c(3)}});
  w.Op(D3DSIO_POW, {r(11), "y"}, {{r(11), "y"}, {r(7), "w"}});
  // No highlight on a face turned away from the sun.
  w.Op(D3DSIO_CMP, {r(11), "y"}, {Neg(r(11), "x"), {c(5), "z"}, {r(11), "y"}});
  w.Op(D3DSIO_MUL, {r(11), "xy"}, {{r(11)}, {r(5), "x"}});
  w.Op(D3DSIO_MAD, {r(11), "x"}, {{r(11), "x"}, {r(7), "y"}, {r(7), "x"}});
  w.Op(D3DSIO_MUL, {r(0), "xyz"}, {{c(2)}, {r(11), "x"}});
  w.Op(D3DSIO_MUL, {r(11), "y"}, {{r(11), "y"}, {r(7), "z"}});
  w.Op(D3DSIO_ADD, {r(0), "xyz"}, {{r(0)}, {r(11), "y"}});  // white highlights
  w.Op(D3DSIO_MOV, {r(0), "w"}, {{c(5), "w"}});
  w.Op(D3DSIO_MOV, {oC0}, {{r(0)}});
  return w.Finish();
}

}  // namespace kx::kx3d::d3d9
