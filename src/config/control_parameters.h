#pragma once
// The settings shown in the main window and its push buttons: each ties a value class to one child
// control through a ControlBinding. The combo classes fill their combo boxes; the fills may be
// called from the UI thread or the main worker, before the window exists (they then do nothing).

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "config/control_binding.h"
#include "config/parameter.h"
#include "foundation/thread_safety.h"

namespace mrw {

class CheckBoxParameter : public BoolParameter, public ControlBinding {
  public:
    CheckBoxParameter(std::string parameterName, bool value, std::uint16_t id, std::int32_t row)
        : BoolParameter(std::move(parameterName), value), ControlBinding(id, row) {}

    // The check box shows `current`; nothing before the control exists.
    void showCheck() const;
};

// An edit field's text; also the base of the two string combo classes.
class ControlParameter : public StringParameter, public ControlBinding {
  public:
    ControlParameter(std::string parameterName, const std::string& value, std::uint16_t id, std::int32_t row)
        : StringParameter(std::move(parameterName), value), ControlBinding(id, row) {}
};

// minimum and maximum are the first and the last of the ascending choices.
class IntComboParameter : public IntParameter, public ControlBinding {
  public:
    IntComboParameter(std::string parameterName, std::int32_t value, std::initializer_list<std::int32_t> list,
                      std::uint16_t id, std::int32_t row)
        : IntParameter(std::move(parameterName), value, *list.begin(), *(list.end() - 1)),
          ControlBinding(id, row),
          choices(list) {}

    // The choices as decimal texts; the first choice equal to `current` selected, else none.
    void fillCombo() const;

    const std::vector<std::int32_t> choices;
};

// Only MAX_FIT_FL; the run start fills its combo box itself ("{:.1f}" texts).
class FloatComboParameter : public FloatParameter, public ControlBinding {
  public:
    FloatComboParameter(std::string parameterName, float value, std::initializer_list<float> list,
                        std::uint16_t id, std::int32_t row)
        : FloatParameter(std::move(parameterName), value, *list.begin(), *(list.end() - 1)),
          ControlBinding(id, row),
          choices(list) {}

    const std::vector<float> choices;
};

class StringComboParameter : public ControlParameter {
  public:
    StringComboParameter(std::string parameterName, const std::string& value, std::vector<std::string> list,
                         std::uint16_t id, std::int32_t row)
        : ControlParameter(std::move(parameterName), value, id, row), choices(std::move(list)) {}

    // The choices, then the first choice that begins with `current`, case-blind, selected. A caller
    // that needs the exact item follows with indexOfCurrent and selects that index.
    void fillCombo() const;
    // The position of the first choice equal to `current` (same bytes); empty when none is.
    std::optional<std::size_t> indexOfCurrent() const;

    const std::vector<std::string> choices;
};

// The list behind the CALLSIGN_2_OBJECTID combo box. The traffic engine and the window handlers
// replace it from both threads, so it is read and replaced whole under its own mutex.
class SharedChoices {
  public:
    explicit SharedChoices(std::vector<std::string> texts) : m_texts(std::move(texts)) {}

    std::vector<std::string> copy() const {
        MutexLock lock(m_mutex);
        return m_texts;
    }
    void replace(std::vector<std::string> texts) {
        MutexLock lock(m_mutex);
        m_texts = std::move(texts);
    }

  private:
    mutable Mutex m_mutex;
    std::vector<std::string> m_texts GUARDED_BY(m_mutex);
};

class SharedComboParameter : public ControlParameter {
  public:
    SharedComboParameter(std::string parameterName, const std::string& value,
                         std::shared_ptr<SharedChoices> list, std::uint16_t id, std::int32_t row)
        : ControlParameter(std::move(parameterName), value, id, row), choices(std::move(list)) {}

    // As StringComboParameter::fillCombo, over what the shared list holds at the moment of the call.
    void fillCombo() const;

    const std::shared_ptr<SharedChoices> choices;
};

// A push button: the name is its caption; it has no value and is never saved.
class PushButton : public Parameter, public ControlBinding {
  public:
    PushButton(std::string caption, std::uint16_t id, std::int32_t row)
        : Parameter(std::move(caption)), ControlBinding(id, row) {}
};

}  // namespace mrw
