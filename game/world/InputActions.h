#pragma once
// The game's input actions, by number, as the input mapper knows them.
enum InputAction {
  KMP_UP = 0,
  KMP_DOWN = 1,
  KMP_LEFT = 2,
  KMP_RIGHT = 3,
  KMP_SHOOT_BLUE = 4,
  KMP_SHOOT_RED = 5,
  KMP_EXIT = 6,
  KMP_ABILITY = 7,
  KMP_ACTION = 8,
  KMP_RESTART = 9,
  KMP_CAMERA = 10,
};
