#include "hostkit/shell/shell_command.h"

#include "common/text.h"

namespace kx::hostkit {

std::optional<std::string> FindOpenCommand(ClassKeys& keys, const std::string& key) {
  std::optional<std::string> class_name = keys.DefaultValue(key);
  if (!class_name) return std::nullopt;
  if (std::optional<std::string> newer = keys.DefaultValue(*class_name + "\\CurVer")) {
    class_name = std::move(newer);
  }
  if (auto open = keys.DefaultValue(*class_name + "\\shell\\open\\command")) return open;
  return keys.DefaultValue(*class_name + "\\shell\\read\\command");
}

std::optional<std::string> PlaceDocument(const std::string& command, const std::string& document) {
  std::string text = command;
  if (const std::size_t option = FindText(text, "-nohome"); option != std::string::npos) {
    text.erase(option);
  }
  if (const std::size_t quoted = FindText(text, "\"%1\""); quoted != std::string::npos) {
    text.erase(quoted);
    text += '"';
    text += document;
    text += '"';
  } else if (const std::size_t bare = FindText(text, "%1"); bare != std::string::npos) {
    text.erase(bare);
    text += document;
  } else {
    text += document;
  }
  // A document that would push the command past its buffer is refused
  // rather than cut: a cut path would open some other file, or none.
  if (text.size() + 1 > kCommandBufferBytes) return std::nullopt;
  return text;
}

std::int32_t OpenWithClassCommand(ClassKeys& keys, CommandStarter& starter,
                                  const std::string& document, const std::string& key) {
  const std::optional<std::string> command = FindOpenCommand(keys, key);
  if (!command) return 0;
  const std::optional<std::string> line = PlaceDocument(*command, document);
  if (!line) return 0;
  return starter.Start(*line);
}

}  // namespace kx::hostkit
