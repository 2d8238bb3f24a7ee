// SkinDocument: the one skin being edited, with its information texts, colour table, element
// fields and picture slots, and its reset to the built-in default skin.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "imaging/image.h"
#include "skin/skin_tables.h"

namespace skin {

// The five texts of [SkinInfo], held as UTF-8.
struct SkinInfo {
  std::string Title;
  std::string Author;
  std::string eMail;
  std::string Url;
  std::string LastUpdate;

  friend bool operator==(const SkinInfo&, const SkinInfo&) = default;
};

// The five texts in the order [SkinInfo] lists them.
enum class InfoId { Title, Author, eMail, Url, LastUpdate };

struct InfoField {
  InfoId id;
  std::string_view key;       // as uisettings.ini spells it
  std::string_view text_key;  // the caption's language key
  std::string SkinInfo::*text;
  bool editable;  // LastUpdate is set by saving, never typed
};

inline constexpr std::array<InfoField, 5> kInfoFields{{
    {InfoId::Title, "Title", "LANG_INFO_TITLE$", &SkinInfo::Title, true},
    {InfoId::Author, "Author", "LANG_INFO_AUTHOR$", &SkinInfo::Author, true},
    {InfoId::eMail, "eMail", "LANG_INFO_EMAIL$", &SkinInfo::eMail, true},
    {InfoId::Url, "Url", "LANG_INFO_URL$", &SkinInfo::Url, true},
    {InfoId::LastUpdate, "LastUpdate", "LANG_INFO_UPDATE$", &SkinInfo::LastUpdate, false},
}};

constexpr const InfoField& Info(InfoId id) { return kInfoFields[static_cast<std::size_t>(id)]; }
constexpr std::size_t Index(InfoId id) { return static_cast<std::size_t>(id); }

// A copy of a document is cheap: its pictures are shared, never copied, until one is replaced.
struct SkinDocument {
  SkinInfo info;
  std::array<imaging::Rgb, kColourCount> colours{};
  // Integer fields hold their value; colour fields hold a packed imaging::Rgb.
  std::array<std::int32_t, kFieldCount> fields{};
  std::array<imaging::SharedImage, kSlotCount> slots;
  // The sample game's icon that the preview draws; not part of the skin's files.
  imaging::SharedImage sample_game_icon;

  imaging::Rgb& Colour(ColourId id) { return colours[Index(id)]; }
  imaging::Rgb Colour(ColourId id) const { return colours[Index(id)]; }
  std::int32_t& Field(FieldId id) { return fields[Index(id)]; }
  std::int32_t Field(FieldId id) const { return fields[Index(id)]; }
  imaging::Rgb FieldColour(FieldId id) const {
    return static_cast<imaging::Rgb>(fields[Index(id)]);
  }
  const imaging::Image& Slot(SlotId id) const { return slots[Index(id)]; }
  void SetSlot(SlotId id, imaging::Image picture) { slots[Index(id)] = std::move(picture); }

  friend bool operator==(const SkinDocument&, const SkinDocument&) = default;
};

// Puts the whole document into the default skin: the built-in pictures in every slot and the
// sample game icon, empty information texts, the default colours and element values.
void ResetSkinDefaults(SkinDocument& doc);

// The built-in picture of a slot, decoded from the compiled-in assets.
imaging::Image BuiltInSlotPicture(SlotId slot);

// Built-in pictures that are not part of the skin: "sample_game_icon", "hinge", "banner".
imaging::Image BuiltInPicture(std::string_view name);

}  // namespace skin
