#pragma once
// frontend/pda/apps/: the PDA's seven applications (login, desktop, e-mail,
// network, objectives, GPS map, configuration). They may call pda/, the
// rest of frontend/, game/level/, engine/ and platform/.
//
// Application 2, the PDA's home: buttons for the network, e-mail, GPS and
// configuration applications, and, when it becomes current, a notice of
// the level's news: newly readable documents (decrypting, then the
// network) or an unread briefing mail (then the e-mail).
#include <array>

#include "frontend/pda/PDAApplication.h"
#include "frontend/pda/PDADialogs.h"
#include "frontend/widgets/PDAButton.h"

class CPDAAppDesktop : public CPDAApplication {
 public:
  // Buttons and icons in this order.
  enum : int { NETWORK = 0, EMAIL = 1, GPS = 2, CONFIG = 3, ENTRIES = 4 };

  void Load() override;
  void RefreshTexts() override;
  void Update() override;
  void Draw() override;
  void Activate() override;
  void SetEnabled(bool enabled) override;

  std::array<Nembra::CStatic2DSprite, ENTRIES> m_Icons;
  std::array<CPDAButton, ENTRIES> m_Buttons;
  CPDADecryptDialog m_Decrypt;
  CPDAMailDialog m_Mail;
};
