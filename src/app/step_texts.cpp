// The words that name an edit.
#include "app/step_texts.h"

#include <variant>

namespace app {

std::string SectionName(skin::SectionId section) {
  std::string name = "[";  // appended, not "[" + ...: GCC 12 warns falsely on that form
  name += skin::Info(section).name;
  name += ']';
  return name;
}

std::string StepSubject(const session::StepLabel::Subject& subject, const i18n::UiTexts& texts) {
  struct Reader {
    const i18n::UiTexts& texts;
    std::string operator()(std::monostate) const { return {}; }
    std::string operator()(skin::FieldId field) const {
      return SectionName(skin::Info(field).section) + " " + std::string(skin::Info(field).name);
    }
    std::string operator()(skin::ColourId colour) const {
      return std::string(skin::Info(colour).key);
    }
    std::string operator()(skin::InfoId info) const {
      return texts.Text(skin::Info(info).text_key);
    }
    std::string operator()(skin::SlotId slot) const {
      return std::string(skin::Info(slot).BaseName());
    }
    std::string operator()(skin::SectionId section) const { return SectionName(section); }
    std::string operator()(const std::string& name) const { return name; }
  };
  return std::visit(Reader{texts}, subject);
}

std::string StepItemText(const i18n::UiTexts& texts, std::string_view item_key,
                         const session::StepLabel& label) {
  const std::string step = i18n::FormatText(texts.Text(session::StepTextKey(label.kind)),
                                            {StepSubject(label.subject, texts)});
  return i18n::FormatText(texts.Text(item_key), {step});
}

}  // namespace app
