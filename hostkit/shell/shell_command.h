// Opening a document with the program the system associates with its kind:
// the command is looked up under the class keys and the document put where
// the command's placeholder stands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace kx::hostkit {

// The command text is built in a buffer of this size, terminator included.
inline constexpr std::size_t kCommandBufferBytes = 520;

// The default values of the class keys.
class ClassKeys {
 public:
  virtual ~ClassKeys() = default;
  // The default value of `key`, when the key exists and its default value is
  // a string that fits kCommandBufferBytes; none otherwise.
  virtual std::optional<std::string> DefaultValue(const std::string& key) = 0;
};

// Starts a command line; what it returns is the caller's result.
class CommandStarter {
 public:
  virtual ~CommandStarter() = default;
  // The starter's result: greater than 31 when the program started.
  virtual std::int32_t Start(const std::string& command_line) = 0;
};

// The open command registered for `key` (typically an extension): the key
// names a class, "CurVer" may name a newer one, and the class has a
// "shell\open\command" or else a "shell\read\command". None when any link
// is missing.
std::optional<std::string> FindOpenCommand(ClassKeys& keys, const std::string& key);

// `command` with `document` in place: "-nohome" and everything behind it go;
// a quoted "%1" becomes the quoted document, a bare "%1" the document, and a
// command without one gets the document glued to its end. What followed the
// placeholder is dropped. None when the text and its terminator would not
// fit kCommandBufferBytes.
std::optional<std::string> PlaceDocument(const std::string& command, const std::string& document);

// The whole of opening a document: 0 when no command was found or the
// command text would not fit; otherwise the starter's result.
std::int32_t OpenWithClassCommand(ClassKeys& keys, CommandStarter& starter,
                                  const std::string& document, const std::string& key);

}  // namespace kx::hostkit
