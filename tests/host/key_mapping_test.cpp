#include "host/key_mapping.h"

#include <gtest/gtest.h>

namespace fluxo {
namespace {

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;

TEST(KeyMapping, HotKeysGetThePlatformCodes) {
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Tab, kNone), vk::kTab);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Backtab, Qt::ShiftModifier), vk::kTab);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Left, kNone), vk::kLeft);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Up, kNone), vk::kUp);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Right, kNone), vk::kRight);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Down, kNone), vk::kDown);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Delete, kNone), vk::kDelete);
  for (int d = 0; d <= 9; ++d) EXPECT_EQ(VirtualKeyOf(Qt::Key_0 + d, kNone), vk::k0 + d) << d;
  for (int f = 0; f < 24; ++f) EXPECT_EQ(VirtualKeyOf(Qt::Key_F1 + f, kNone), vk::kF1 + f) << "F" << f + 1;
  EXPECT_EQ(VirtualKeyOf(Qt::Key_F12, kNone), vk::kF12);
}

TEST(KeyMapping, KeysThatEndTheSaver) {
  EXPECT_EQ(VirtualKeyOf(Qt::Key_A, kNone), vk::kA);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Z, Qt::ShiftModifier), vk::kA + 25);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Escape, kNone), vk::kEscape);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Return, kNone), vk::kReturn);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Enter, Qt::KeypadModifier), vk::kReturn);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Space, kNone), vk::kSpace);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Shift, Qt::ShiftModifier), 0x10u);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Home, kNone), 0x24u);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Semicolon, kNone), 0xBAu);
}

TEST(KeyMapping, NumericPadIsToldApartFromTheMainKeyboard) {
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Plus, Qt::KeypadModifier), vk::kAdd);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Minus, Qt::KeypadModifier), vk::kSubtract);
  // The main keyboard's + and - are ordinary keys, not the speed keys.
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Plus, Qt::ShiftModifier), 0xBBu);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Minus, kNone), 0xBDu);
  // Pad digits are not the digit hot keys; pad arrows (NumLock off) are arrows.
  EXPECT_EQ(VirtualKeyOf(Qt::Key_7, Qt::KeypadModifier), 0x67u);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Left, Qt::KeypadModifier), vk::kLeft);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Asterisk, Qt::KeypadModifier), 0x6Au);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Period, Qt::KeypadModifier), 0x6Eu);
}

TEST(KeyMapping, UnknownKeysStayOutsideTheHotKeys) {
  for (int key : {static_cast<int>(Qt::Key_unknown), static_cast<int>(Qt::Key_Exclam),
                  static_cast<int>(Qt::Key_VolumeUp), 0}) {
    const uint32_t code = VirtualKeyOf(key, kNone);
    EXPECT_EQ(code, kUnmappedVirtualKey) << key;
    EXPECT_FALSE(code >= vk::kTab && code <= vk::kF12) << key;
  }
}

TEST(KeyMapping, AltMakesSystemKeys) {
  KeyMessage plain = KeyMessageOf(Qt::Key_F4, kNone);
  EXPECT_EQ(plain.message, SaverMessage::KeyDown);
  EXPECT_EQ(plain.virtualKey, vk::kF1 + 3);

  KeyMessage withAlt = KeyMessageOf(Qt::Key_F4, Qt::AltModifier);
  EXPECT_EQ(withAlt.message, SaverMessage::SysKeyDown);
  EXPECT_EQ(withAlt.virtualKey, vk::kF1 + 3);

  // The Alt key itself arrives as a system key whether or not X reports the modifier yet.
  EXPECT_EQ(KeyMessageOf(Qt::Key_Alt, kNone).message, SaverMessage::SysKeyDown);
  EXPECT_EQ(KeyMessageOf(Qt::Key_Alt, kNone).virtualKey, 0x12u);

  EXPECT_EQ(KeyMessageOf(Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier).message, SaverMessage::KeyDown);
  EXPECT_EQ(KeyMessageOf(Qt::Key_Plus, Qt::KeypadModifier | Qt::AltModifier).message, SaverMessage::SysKeyDown);
}

}  // namespace
}  // namespace fluxo
