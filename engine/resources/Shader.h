#pragma once
// Render-state blocks: named sets of fixed-function device states (render,
// sampler and texture-stage states) applied before a batch is drawn. A
// block comes from a state-block file or, for a name beginning "AUTO_", is
// made in code from one of the two defaults and edited by its owner.
//
// State-block file (little-endian u32 numbers): a count and that many pairs
// (render-state number, value); then for sampler 0 and sampler 1 a count and
// pairs (sampler-state number, value); then for stage 0 and stage 1 a count
// and pairs (stage-state number, value).
#include <cstdint>
#include <string>

#include "engine/resources/Factory.h"
#include "platform/Graphics.h"

namespace Nembra {

class CGraphicsDevice;

struct STATE_ENTRY {
  uint32_t value = 0;   // a float state holds the float's bits
  uint8_t defined = 0;  // a value was written
  uint8_t applied = 0;  // the entry reaches the device
};

class CShader : public CResource {
 public:
  static constexpr uint32_t RENDER_STATES = 210;
  static constexpr uint32_t SAMPLERS = 2;
  static constexpr uint32_t SAMPLER_STATES = 14;
  static constexpr uint32_t STAGES = 2;
  static constexpr uint32_t STAGE_STATES = 33;

  // The default table: every state the device defines, with its default value.
  CShader();
  CShader(const CShader& other);
  // Copies every entry (values and both flags); not the name or the count.
  CShader& operator=(const CShader& other);

  // Sends every applied entry through the device wrapper's cached setters:
  // render states, then sampler 0 and 1, then stage 0 and 1. True when
  // every call succeeded (or there is no device wrapper, false then).
  bool Apply(bool force) const;
  // The same through a given device wrapper.
  bool ApplyTo(CGraphicsDevice& device, bool force) const;
  // Sends one render state's entry as Apply would (nothing when it is not
  // applied): after a draw that changed only that state, the same as
  // applying the whole block again.
  bool ApplyRenderState(uint32_t state) const;
  // Reads a state-block file into the block. False only when it cannot be
  // opened; a short file keeps what it read. Pairs with a number outside
  // the block are skipped, and no count is trusted beyond the file's size.
  bool Load(const std::string& path);

  // Writers: the value and the defined flag (the applied flag is kept).
  // Numbers outside the block are ignored (false).
  bool SetRenderState(uint32_t state, uint32_t value);
  bool SetSamplerState(uint32_t sampler, uint32_t type, uint32_t value);
  bool SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value);
  bool SetRenderStateFloat(uint32_t state, float value) { return SetRenderState(state, platform::FloatToDword(value)); }

  // Readers; an entry of zeros for numbers outside the block.
  STATE_ENTRY GetRenderState(uint32_t state) const;
  STATE_ENTRY GetSamplerState(uint32_t sampler, uint32_t type) const;
  STATE_ENTRY GetTextureStageState(uint32_t stage, uint32_t type) const;

  // Direct access to an entry; null outside the block.
  STATE_ENTRY* RenderEntry(uint32_t state);
  STATE_ENTRY* SamplerEntry(uint32_t sampler, uint32_t type);
  STATE_ENTRY* StageEntry(uint32_t stage, uint32_t type);
  // Clears every defined flag; values and applied flags stay.
  void ClearDefinedFlags();

  // Counts of applied entries per area.
  uint32_t CountApplied(uint32_t* render, uint32_t* sampler, uint32_t* stage) const;

 private:
  STATE_ENTRY m_Render[RENDER_STATES];
  STATE_ENTRY m_Sampler[SAMPLERS][SAMPLER_STATES];
  STATE_ENTRY m_Stage[STAGES][STAGE_STATES];
};

class CShaderFactory : public CFactory<CShader> {
 public:
  CShaderFactory();
  bool Load(const std::string& key) override;
  std::string GetDirectory() const override;
  CShader* GetDefaultTransparent() const { return m_pDefaultTransparent; }

 protected:
  bool IsDefaultEntry(const CShader* resource) const override {
    return resource == m_pDefault || resource == m_pDefaultTransparent;
  }

 private:
  CShader* m_pDefaultTransparent = nullptr;
};

extern CShaderFactory* g_pShaderFactory;

}  // namespace Nembra
