#include "parameter_engine.h"

#include <cstdarg>

#include "ini_store.h"
#include "parameter_store.h"
#include "registry_store.h"
#include "tree_store.h"

namespace {

// Ends a variable argument list however the walk over it ends.
class ArgumentListEnd {
 public:
  explicit ArgumentListEnd(va_list& arguments) : arguments_(arguments) {}
  ArgumentListEnd(const ArgumentListEnd&) = delete;
  ArgumentListEnd& operator=(const ArgumentListEnd&) = delete;
  ~ArgumentListEnd() { va_end(arguments_); }

 private:
  va_list& arguments_;
};

enum class Direction { kRead, kWrite };

// Hands every token's variable to the store, each token taking one name and one pointer. False
// when the store refused to write any of them; the others are written all the same.
bool TransferEach(ParameterStore& store, Direction direction, const char* const* names,
                  const char* types, va_list arguments) {
  bool written = true;
  TypeTokens tokens(types);
  std::string_view tag;
  for (std::size_t index = 0; tokens.Next(tag); ++index) {
    const char* name = names != nullptr ? names[index] : nullptr;
    void* variable = va_arg(arguments, void*);
    if (name == nullptr) {
      continue;
    }
    if (direction == Direction::kRead) {
      store.Read(name, ParameterTypeOf(tag), variable);
    } else if (!store.Write(name, ParameterTypeOf(tag), variable)) {
      written = false;
    }
  }
  return written;
}

void ReadFrom(const char* iniPath, const char* section, HKEY root, PresetNodeBase* node,
              const char* const* names, const char* types, va_list arguments) {
  if (node != nullptr) {
    TreeStore store(*node);
    TransferEach(store, Direction::kRead, names, types, arguments);
  } else if (root != nullptr) {
    RegistryKey key = OpenKeyForReading(root, section);
    if (key) {
      RegistryStore store(key.get());
      TransferEach(store, Direction::kRead, names, types, arguments);
    }
  } else if (iniPath != nullptr) {
    IniStore store(iniPath, section);
    TransferEach(store, Direction::kRead, names, types, arguments);
  }
}

uint32_t WriteTo(const char* iniPath, const char* section, HKEY root, PresetNodeBase* node,
                 const char* const* names, const char* types, va_list arguments) {
  bool written = true;
  if (node != nullptr) {
    TreeStore store(*node);
    written = TransferEach(store, Direction::kWrite, names, types, arguments);
  } else if (root != nullptr) {
    RegistryKey key = CreateKeyForWriting(root, section);
    if (!key) {
      return 0;
    }
    RegistryStore store(key.get());
    written = TransferEach(store, Direction::kWrite, names, types, arguments);
  } else if (iniPath != nullptr) {
    IniStore store(iniPath, section);
    written = TransferEach(store, Direction::kWrite, names, types, arguments);
  }
  return written ? 1 : 0;
}

}  // namespace

void ReadParameters(const char* iniPath, const char* section, HKEY root, PresetNodeBase* node,
                    const char* const* names, const char* types, ...) {
  va_list arguments;
  va_start(arguments, types);
  ArgumentListEnd end(arguments);
  ReadFrom(iniPath, section, root, node, names, types, arguments);
}

uint32_t WriteParameters(const char* iniPath, const char* section, HKEY root, PresetNodeBase* node,
                         const char* const* names, const char* types, ...) {
  va_list arguments;
  va_start(arguments, types);
  ArgumentListEnd end(arguments);
  return WriteTo(iniPath, section, root, node, names, types, arguments);
}
