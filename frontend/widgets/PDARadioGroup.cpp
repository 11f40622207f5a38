#include "frontend/widgets/PDARadioGroup.h"

#include "engine/fonts/BitmapFont.h"
#include "frontend/widgets/WidgetImage.h"

bool CPDARadioItem::SetBoxImage(Nembra::CTexture* texture, const Nembra::RECT& source) {
  return SetWidgetImage(m_pBox, texture, source);
}

bool CPDARadioItem::SetCheckImage(Nembra::CTexture* texture, const Nembra::RECT& source) {
  return SetWidgetImage(m_pCheck, texture, source);
}

void CPDARadioItem::DrawLabel() {
  if (m_Label.empty() || !m_pFont) return;
  m_pFont->m_Centered = false;
  const int x = static_cast<int>(m_Position.x + static_cast<float>(m_Rect.right - m_Rect.left) + 5.0f);
  const int y = static_cast<int>(
      m_Position.y + static_cast<float>(m_Rect.bottom - m_pFont->m_LineAdvance - m_Rect.top) * 0.5f);
  m_pFont->DrawText(m_Label, x, y, 1.0f, 1.0f, 1.0f, 1.0f);
}

CPDARadioItem* CPDARadioGroup::AddItem() {
  if (m_Count >= MAX_ITEMS) return nullptr;
  m_Items[static_cast<size_t>(m_Count)] = std::make_unique<CPDARadioItem>();
  return m_Items[static_cast<size_t>(m_Count++)].get();
}

CPDARadioItem* CPDARadioGroup::GetItem(int index) const {
  return index >= 0 && index < m_Count ? m_Items[static_cast<size_t>(index)].get() : nullptr;
}

void CPDARadioGroup::ClearSelection() {
  for (int i = 0; i < m_Count; ++i) m_Items[static_cast<size_t>(i)]->m_Selected = false;
}

void CPDARadioGroup::Select(int index) {
  if (index < 0 || index >= m_Count) {
    ClearSelection();
    return;
  }
  if (m_Exclusive) ClearSelection();
  m_Items[static_cast<size_t>(index)]->m_Selected = true;
}

int CPDARadioGroup::GetSelected() const {
  for (int i = 0; i < m_Count; ++i)
    if (m_Items[static_cast<size_t>(i)]->m_Selected) return i;
  return m_Count;
}

void CPDARadioGroup::Update() {
  for (int i = 0; i < m_Count; ++i) {
    CPDARadioItem& item = *m_Items[static_cast<size_t>(i)];
    if (!m_Visible) {
      item.m_Clicked = false;  // a hidden group takes no clicks, not even last frame's again
      continue;
    }
    DrawWidgetImage(item.m_pBox);
    if (item.m_Selected) DrawWidgetImage(item.m_pCheck);
    item.m_Clicked = WasLeftClickInRect(item.m_Rect);
  }
  if (!m_Enabled) return;
  for (int i = 0; i < m_Count; ++i) {
    if (!m_Items[static_cast<size_t>(i)]->m_Clicked) continue;
    if (m_Exclusive) ClearSelection();
    m_Items[static_cast<size_t>(i)]->m_Selected = true;
  }
}

void CPDARadioGroup::Clear() {
  for (auto& item : m_Items) item.reset();
  m_Count = 0;
}
