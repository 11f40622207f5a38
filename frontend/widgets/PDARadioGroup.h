#pragma once
// A group of up to six check boxes with labels, exclusive (one selected
// at a time) or not. Update draws the boxes and applies clicks; each
// item's label is written later by DrawLabel.
#include <array>
#include <memory>
#include <string>

#include "engine/sprites/Sprite2D.h"
#include "engine/util/Utilities.h"

namespace Nembra {
class CBitmapFont;
class CTexture;
}  // namespace Nembra

struct CPDARadioItem {
  std::wstring m_Label;
  Nembra::CBitmapFont* m_pFont = nullptr;
  bool m_Selected = false;
  bool m_Clicked = false;
  std::unique_ptr<Nembra::CStatic2DSprite> m_pBox;
  std::unique_ptr<Nembra::CStatic2DSprite> m_pCheck;  // drawn over the box while selected
  Nembra::RECT m_Rect;
  D3DXVECTOR3 m_Position{0.0f, 0.0f, 0.0f};  // the box's; the label goes to its right

  bool SetBoxImage(Nembra::CTexture* texture, const Nembra::RECT& source);
  bool SetCheckImage(Nembra::CTexture* texture, const Nembra::RECT& source);
  // Writes the label 5 pixels right of the box, centred on it vertically.
  void DrawLabel();
};

class CPDARadioGroup {
 public:
  static constexpr int MAX_ITEMS = 6;

  CPDARadioGroup() = default;
  CPDARadioGroup(const CPDARadioGroup&) = delete;
  CPDARadioGroup& operator=(const CPDARadioGroup&) = delete;

  // A new unselected item at the end; null when the group is full.
  CPDARadioItem* AddItem();
  CPDARadioItem* GetItem(int index) const;
  int GetCount() const { return m_Count; }
  // Selects an item (clearing the others first when exclusive). An index
  // outside the items clears the selection and selects nothing.
  void Select(int index);
  // The first selected item; the item count when none is.
  int GetSelected() const;
  // Draws the boxes and checks and applies the clicks of this frame.
  void Update();
  // Destroys every item; the group is empty afterwards.
  void Clear();

  bool m_Enabled = true;
  bool m_Visible = true;
  bool m_Exclusive = false;

 private:
  void ClearSelection();

  std::array<std::unique_ptr<CPDARadioItem>, MAX_ITEMS> m_Items;
  int m_Count = 0;
};
