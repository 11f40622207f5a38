// The PDA's texts in English, Spanish and Russian.
#include "tools/datagen/DataGen.h"
#include "tools/datagen/GameTexts.h"

namespace {

std::vector<datagen::GameText> PdaTexts() {
  return {
      {"TXT_YES", L"Yes", L"Sí", L"Да"},
      {"TXT_NO", L"No", L"No", L"Нет"},
      {"TXT_OK", L"OK", L"Aceptar", L"ОК"},
      {"TXT_READ", L"Read", L"Leer", L"Читать"},
      {"TXT_CONFIRM", L"Confirm", L"Confirmar", L"Подтверждение"},
      {"TXT_CONFIRM_EXIT", L"Do you really want to switch the system off and quit?",
       L"¿Seguro que quieres apagar el sistema y salir?", L"Выключить систему и выйти из игры?"},
      {"TXT_CONFIRM_RESET", L"Restart the level from its beginning?", L"¿Reiniciar el nivel desde el principio?",
       L"Начать уровень заново?"},
      {"TXT_CONFIRM_PROFILE", L"Log out and choose another profile?", L"¿Cerrar la sesión y elegir otro perfil?",
       L"Выйти и выбрать другой профиль?"},
      {"TXT_CONFIRM_DELETE_PROFILE", L"Delete this profile for good?", L"¿Borrar este perfil para siempre?",
       L"Удалить этот профиль навсегда?"},
      {"TXT_CONFIRM_SAVE_CHANGES", L"Save the changes to your settings?", L"¿Guardar los cambios de la configuración?",
       L"Сохранить изменения настроек?"},
      {"TXT_HINT_SYSTEM_OFF", L"System off", L"Apagar el sistema", L"Выключить систему"},
      {"TXT_HINT_CHANGE_PROFILE", L"Change profile", L"Cambiar de perfil", L"Сменить профиль"},
      {"TXT_HINT_LEVEL_RESET", L"Restart level", L"Reiniciar el nivel", L"Перезапустить уровень"},
      {"TXT_HINT_CLOSE_APP", L"Close application", L"Cerrar la aplicación", L"Закрыть приложение"},
      {"TXT_HINT_GAME_INIT", L"Start mission", L"Iniciar la misión", L"Начать задание"},
      {"TXT_HINT_LOGIN_DELETE", L"Delete profile", L"Borrar el perfil", L"Удалить профиль"},
      {"TXT_HINT_LOGIN_OK", L"Create profile", L"Crear el perfil", L"Создать профиль"},
      {"TXT_LOGGED_IN_AS", L"Logged in as", L"Sesión de", L"Пользователь:"},
      {"TXT_LOGIN", L"Login", L"Inicio de sesión", L"Вход"},
      {"TXT_NEW_PROFILE", L"< New profile >", L"< Perfil nuevo >", L"< Новый профиль >"},
      {"TXT_OBJECTIVES", L"Objectives", L"Objetivos", L"Задачи"},
      {"TXT_COMPLETE", L"COMPLETE", L"COMPLETADO", L"ВЫПОЛНЕНО"},
      {"TXT_INCOMPLETE", L"INCOMPLETE", L"PENDIENTE", L"НЕ ВЫПОЛНЕНО"},
      {"TXT_GPS", L"GPS", L"GPS", L"GPS"},
      {"TXT_APPLICATIONS", L"Applications", L"Aplicaciones", L"Приложения"},
      {"TXT_WIRELESS_NETWORK", L"Wireless network", L"Red inalámbrica", L"Беспроводная сеть"},
      {"TXT_EMAIL_CLIENT", L"E-mail", L"Correo electrónico", L"Электронная почта"},
      {"TXT_CUSTOMIZE", L"Settings", L"Configuración", L"Настройки"},
      {"TXT_YOU_GOT_MAIL", L"You have a new message.", L"Tienes un mensaje nuevo.", L"У вас новое сообщение."},
      {"TXT_DECRYPT", L"Decrypting", L"Descifrado", L"Расшифровка"},
      {"TXT_DECRYPTING_FILE", L"Decrypting new files...", L"Descifrando archivos nuevos...",
       L"Расшифровка новых файлов..."},
      {"TXT_DECRYPT_READY", L"The files are ready.", L"Los archivos están listos.", L"Файлы готовы."},
      {"TXT_FILE_LOCKED", L"[ Locked ]", L"[ Bloqueado ]", L"[ Закрыт ]"},
      {"TXT_CONFIG_DEFAULT", L"Default", L"Por defecto", L"По умолчанию"},
      {"TXT_CONFIG_SAVE", L"Save", L"Guardar", L"Сохранить"},
      {"TXT_CONFIG_GAMMA", L"Gamma", L"Brillo", L"Яркость"},
      {"TXT_CONFIG_EFFECTS", L"Effects", L"Efectos", L"Эффекты"},
      {"TXT_CONFIG_MUSIC", L"Music", L"Música", L"Музыка"},
      {"TXT_CONFIG_ROTATECAMERA", L"Camera", L"Cámara", L"Камера"},
      {"TXT_CONFIG_CAM1", L"Turns with the player", L"Gira con el jugador", L"Следует за игроком"},
      {"TXT_CONFIG_CAM2", L"Fixed direction", L"Dirección fija", L"Неподвижная"},
      {"TXT_CONFIG_MOVEUP", L"Forward", L"Avanzar", L"Вперёд"},
      {"TXT_CONFIG_MOVEDOWN", L"Back", L"Retroceder", L"Назад"},
      {"TXT_CONFIG_MOVELEFT", L"Left", L"Izquierda", L"Влево"},
      {"TXT_CONFIG_MOVERIGHT", L"Right", L"Derecha", L"Вправо"},
      {"TXT_CONFIG_ACTION", L"Action", L"Acción", L"Действие"},
      {"TXT_CONFIG_ABILITY", L"Ability", L"Habilidad", L"Способность"},
  };
}

}  // namespace

DATAGEN_TEXTS("pda", PdaTexts);
