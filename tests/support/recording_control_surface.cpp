#include "support/recording_control_surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "foundation/text_encoding.h"

namespace mrwtest {

namespace {

// ASCII letters compared case-blind, as the combo boxes of the settings hold only such texts.
char16_t lf_lower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool lf_beginsWith(const std::u16string& text, const std::u16string& prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char16_t a, char16_t b) { return lf_lower(a) == lf_lower(b); });
}

}  // namespace

RecordingControlSurface::RecordingControlSurface() : m_previous(mrw::gf_controlSurface()) {
    mrw::gf_setControlSurface(this);
}

RecordingControlSurface::~RecordingControlSurface() {
    for (mrw::ControlBinding* binding : m_bound)
        binding->hwnd = nullptr;
    mrw::gf_setControlSurface(m_previous);
}

RecordingControlSurface::Control& RecordingControlSurface::bind(mrw::ControlBinding& binding) {
    Control& control = m_controls.emplace_back();
    binding.hwnd = reinterpret_cast<HWND__*>(&control);  // a handle only this surface resolves
    m_bound.push_back(&binding);
    return control;
}

RecordingControlSurface::Control& RecordingControlSurface::control(const mrw::ControlBinding& binding) {
    Control* found = lookUp(binding.hwnd);
    if (found == nullptr) throw std::logic_error("the binding has no control of this surface");
    return *found;
}

std::string RecordingControlSurface::selectedText(const mrw::ControlBinding& binding) {
    const Control& combo = control(binding);
    return combo.selection ? mrw::wide_to_utf8(combo.texts.at(*combo.selection)) : std::string();
}

RecordingControlSurface::Control* RecordingControlSurface::lookUp(HWND__* handle) const {
    for (Control& control : m_controls)
        if (reinterpret_cast<HWND__*>(&control) == handle) return &control;
    return nullptr;
}

RecordingControlSurface::Control* RecordingControlSurface::find(HWND__* handle) const {
    Control* control = lookUp(handle);
    if (control == nullptr) ++m_strayCalls;
    return control;
}

// Asking whether a handle is a control is what a caller does before it changes one: never stray.
bool RecordingControlSurface::exists(HWND__* handle) const {
    return lookUp(handle) != nullptr;
}

bool RecordingControlSurface::setEnabled(HWND__* handle, bool enabled) {
    Control* control = find(handle);
    if (control == nullptr) return false;
    const bool wasDisabled = !control->enabled;
    control->enabled = enabled;
    return wasDisabled;
}

bool RecordingControlSurface::isEnabled(HWND__* handle) const {
    const Control* control = find(handle);
    return control != nullptr && control->enabled;
}

void RecordingControlSurface::setCheck(HWND__* handle, bool checked) {
    if (Control* control = find(handle)) control->checked = checked;
}

void RecordingControlSurface::fillCombo(HWND__* handle, const std::vector<std::u16string>& texts) {
    if (Control* control = find(handle)) {
        control->texts = texts;
        control->selection.reset();
        ++control->fills;
    }
}

void RecordingControlSurface::selectIndex(HWND__* handle, std::size_t index) {
    Control* control = find(handle);
    if (control == nullptr) return;
    if (index < control->texts.size())
        control->selection = index;
    else
        control->selection.reset();  // as a combo box given an index past its entries
}

void RecordingControlSurface::selectPrefix(HWND__* handle, const std::u16string& text) {
    Control* control = find(handle);
    if (control == nullptr) return;
    const auto found = std::find_if(control->texts.begin(), control->texts.end(),
                                    [&](const std::u16string& entry) { return lf_beginsWith(entry, text); });
    if (found != control->texts.end())
        control->selection = static_cast<std::size_t>(found - control->texts.begin());
}

}  // namespace mrwtest
