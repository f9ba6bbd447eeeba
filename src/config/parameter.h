#pragma once
// The value classes of the program's settings. Each setting is one object whose name is its key in
// parameters.xml; all code reads and writes the setting through the object's `current` value.
//
// Sharing between threads: the UI thread, the main worker and the scan workers all read and write
// `current` values. Bool, int and float values are atomics; texts are GuardedText, read as a copy
// under the text's own mutex. The remaining fields are set by the constructors and never change,
// apart from PROGRAM_VERSION's text default, which the save-all with defaults sets (GuardedText too).
// Saving to parameters.xml (load, write, log, save) is declared here and defined with the file's
// code in parameters_xml.cpp.

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include <pugixml.hpp>

#include "foundation/guarded_text.h"

namespace mrw {

// The base of every setting and push button.
class Parameter {
  public:
    explicit Parameter(std::string parameterName) : name(std::move(parameterName)) {}
    Parameter(const Parameter&) = delete;
    Parameter& operator=(const Parameter&) = delete;
    virtual ~Parameter() = default;

    // The parameters.xml key exactly as stored ("LAST_EPOCH_TIME:" keeps its colon); a button's caption.
    const std::string name;
};

class BoolParameter : public Parameter {
  public:
    BoolParameter(std::string parameterName, bool value)
        : Parameter(std::move(parameterName)),
          defaultValue(value),
          minimum(value),
          maximum(value),
          current(value) {}

    // Found in the document: current := the stored value, else the default; then the value line.
    bool load(const pugi::xml_node& document);
    // Appends one element with the default (writeDefaults) or the current value; then the value line.
    void write(pugi::xml_node& parameters, bool writeDefaults) const;
    void log() const;
    // Writes the current value into parameters.xml at once.
    void save() const;

    const bool defaultValue;
    const bool minimum;  // minimum and maximum only give every value class the same four fields
    const bool maximum;
    std::atomic<bool> current;
};

class IntParameter : public Parameter {
  public:
    IntParameter(std::string parameterName, std::int32_t value, std::int32_t min, std::int32_t max)
        : Parameter(std::move(parameterName)),
          defaultValue(value),
          minimum(min),
          maximum(max),
          current(value) {}

    void write(pugi::xml_node& parameters, bool writeDefaults) const;
    void log() const;
    void save() const;
    // The value brought into [minimum, maximum].
    std::int32_t clamp(std::int32_t value) const { return std::clamp(value, minimum, maximum); }

    const std::int32_t defaultValue;
    const std::int32_t minimum;
    const std::int32_t maximum;
    std::atomic<std::int32_t> current;
};

// Only the base of the one float combo setting (MAX_FIT_FL); never saved.
class FloatParameter : public Parameter {
  public:
    FloatParameter(std::string parameterName, float value, float min, float max)
        : Parameter(std::move(parameterName)),
          defaultValue(value),
          minimum(min),
          maximum(max),
          current(value) {}

    const float defaultValue;
    const float minimum;
    const float maximum;
    std::atomic<float> current;
};

class StringParameter : public Parameter {
  public:
    StringParameter(std::string parameterName, const std::string& value)
        : Parameter(std::move(parameterName)),
          defaultValue(value),
          minimum(value),
          maximum(value),
          current(value) {}

    bool load(const pugi::xml_node& document);
    void write(pugi::xml_node& parameters, bool writeDefaults) const;
    void log() const;
    void save() const;
    // current := text, then save.
    void setAndSave(std::string text);

    GuardedText defaultValue;
    const std::string minimum;
    const std::string maximum;
    GuardedText current;
};

}  // namespace mrw
