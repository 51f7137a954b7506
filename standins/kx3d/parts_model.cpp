#include "standins/kx3d/parts_model.h"

#include <cstring>

namespace kx::kx3d {

namespace {

// Record tags of the parts section.
constexpr char kPart[4] = {'P', 'A', 'R', 'T'};
constexpr char kModel[4] = {'M', 'O', 'D', 'L'};
constexpr char kShape[4] = {'S', 'H', 'A', 'P'};
constexpr char kAttribute[4] = {'A', 'T', 'T', 'R'};
constexpr char kPartsBlock[4] = {'P', 'B', 'L', 'K'};
constexpr char kShapeBlock[4] = {'S', 'B', 'L', 'K'};
constexpr char kHeadBlock[4] = {'H', 'B', 'L', 'K'};
constexpr char kView[4] = {'V', 'I', 'E', 'W'};
constexpr char kCurrentView[4] = {'C', 'U', 'R', 'V'};

// Little-endian writing of one record or of the section.
class Out {
 public:
  void I32(std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
  }
  void F32(float f) {
    std::int32_t bits;
    std::memcpy(&bits, &f, 4);
    I32(bits);
  }
  void Floats(const float* f, int n) {
    for (int i = 0; i < n; ++i) F32(f[i]);
  }
  void Offset(const Placement& p) {
    Floats(p.position, 3);
    Floats(p.rotation, 3);
    Floats(p.scale, 3);
  }
  void View(const StoredView& view) {
    Floats(view.direction, 3);
    F32(view.field_of_view);
    F32(view.near_distance);
    F32(view.far_distance);
    Text(view.name);
  }
  void Text(const std::string& s) {
    I32(static_cast<std::int32_t>(s.size()));
    bytes_ += s;
  }
  void Raw(const std::string& s) { bytes_ += s; }
  void Record(const char tag[4], const Out& body) {
    bytes_.append(tag, 4);
    I32(static_cast<std::int32_t>(body.bytes_.size()));
    bytes_ += body.bytes_;
  }
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

// Bounded reading of one record's body: every read checks what is left,
// and a failed read leaves the reader failed.
class In {
 public:
  In(const char* data, std::size_t size) : data_(data), left_(size) {}
  bool ok() const { return ok_; }
  std::size_t left() const { return left_; }
  std::int32_t I32() {
    if (!Take(4)) return 0;
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i)
      u |= static_cast<std::uint32_t>(static_cast<unsigned char>(at_[i])) << (8 * i);
    return static_cast<std::int32_t>(u);
  }
  float F32() {
    const std::int32_t bits = I32();
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
  }
  void Floats(float* f, int n) {
    for (int i = 0; i < n; ++i) f[i] = F32();
  }
  Placement Offset() {
    Placement p;
    Floats(p.position, 3);
    Floats(p.rotation, 3);
    Floats(p.scale, 3);
    return p;
  }
  StoredView View() {
    StoredView view;
    Floats(view.direction, 3);
    view.field_of_view = F32();
    view.near_distance = F32();
    view.far_distance = F32();
    view.name = Text();
    return view;
  }
  std::string Text() {
    const std::int32_t n = I32();
    if (n < 0 || !Take(static_cast<std::size_t>(n))) {
      ok_ = false;
      return {};
    }
    return std::string(at_, static_cast<std::size_t>(n));
  }
  std::string Rest() {
    std::string rest(data_, left_);
    data_ += left_;
    left_ = 0;
    return rest;
  }

 private:
  bool Take(std::size_t n) {
    if (!ok_ || n > left_) {
      ok_ = false;
      return false;
    }
    at_ = data_;
    data_ += n;
    left_ -= n;
    return true;
  }
  const char* data_;
  const char* at_ = nullptr;
  std::size_t left_;
  bool ok_ = true;
};

}  // namespace

class PartsSectionReader {
 public:
  static bool Read(const char* data, std::size_t size, PartsModel* model) {
    PartsModel m;
    m.parts_.clear();
    struct ShapeBlock {
      std::int32_t model, shape, type;
      std::string data;
    };
    std::vector<std::pair<std::int32_t, std::pair<std::int32_t, std::string>>> parts_blocks;
    std::vector<ShapeBlock> shape_blocks;
    while (size > 0) {
      if (size < 8) return false;
      const char* tag = data;
      In header(data + 4, 4);
      const std::int32_t length = header.I32();
      if (length < 0 || static_cast<std::size_t>(length) > size - 8) return false;
      In in(data + 8, static_cast<std::size_t>(length));
      data += 8 + length;
      size -= 8 + static_cast<std::size_t>(length);

      if (std::memcmp(tag, kPart, 4) == 0) {
        const std::int32_t parent = in.I32();
        const std::int32_t model = in.I32();
        const Placement offset = in.Offset();
        const auto index = static_cast<std::int32_t>(m.parts_.size());
        // The root first and alone without a parent; parents before children.
        if (index == 0 ? parent != -1 : (parent < 0 || parent >= index)) return false;
        m.AddPart(parent, model, offset);
      } else if (std::memcmp(tag, kModel, 4) == 0) {
        m.models.push_back({in.I32(), {}});
      } else if (std::memcmp(tag, kShape, 4) == 0) {
        const std::int32_t model = in.I32();
        Shape shape;
        shape.option = in.I32();
        shape.offset = in.Offset();
        if (model < 0 || static_cast<std::size_t>(model) >= m.models.size()) return false;
        m.models[static_cast<std::size_t>(model)].shapes.push_back(std::move(shape));
      } else if (std::memcmp(tag, kAttribute, 4) == 0) {
        AttributeRecord record;
        record.flag = in.I32();
        record.text = in.Text();
        record.maker = in.Text();
        m.attributes.push_back(std::move(record));
      } else if (std::memcmp(tag, kPartsBlock, 4) == 0) {
        const std::int32_t parts = in.I32();
        const std::int32_t type = in.I32();
        parts_blocks.push_back({parts, {type, in.Rest()}});
      } else if (std::memcmp(tag, kShapeBlock, 4) == 0) {
        ShapeBlock b;
        b.model = in.I32();
        b.shape = in.I32();
        b.type = in.I32();
        b.data = in.Rest();
        shape_blocks.push_back(std::move(b));
      } else if (std::memcmp(tag, kHeadBlock, 4) == 0) {
        const std::int32_t index = in.I32();
        const std::int32_t type = in.I32();
        m.head_blocks[{index, type}] = in.Rest();
      } else if (std::memcmp(tag, kView, 4) == 0) {
        m.views.push_back(in.View());
      } else if (std::memcmp(tag, kCurrentView, 4) == 0) {
        m.current_view = in.View();
      } else {
        in.Rest();  // records of other tags are skipped
      }
      if (!in.ok() || in.left() != 0) return false;
    }
    if (m.parts_.empty()) m.parts_.emplace_back();
    // References are checked once everything is read.
    for (const TreePart& part : m.parts_) {
      if (part.model < -1 || part.model >= static_cast<std::int32_t>(m.models.size())) return false;
    }
    for (const ShapeModel& shapes : m.models) {
      if (shapes.attribute < -1 ||
          shapes.attribute >= static_cast<std::int32_t>(m.attributes.size())) {
        return false;
      }
    }
    for (auto& [parts, block] : parts_blocks) {
      if (!m.SetPartsBlock(parts, block.first, std::move(block.second))) return false;
    }
    for (ShapeBlock& b : shape_blocks) {
      Shape* shape = m.FindShape(b.model, b.shape);
      if (shape == nullptr) return false;
      shape->blocks[b.type] = std::move(b.data);
    }
    *model = std::move(m);
    return true;
  }
};

PartsModel::PartsModel() { parts_.emplace_back(); }

PartsModel PartsModel::FromGeometry(const Model& geometry) {
  PartsModel m;
  for (const Part& part : geometry.parts) {
    const auto index = static_cast<std::int32_t>(m.models.size());
    m.attributes.push_back({1, part.name, {}});
    m.models.push_back({index, {Shape{}}});
    m.AddPart(0, index);
  }
  return m;
}

ModelError PartsModel::Decode(const std::string& file, std::size_t offset, const Model& geometry,
                              PartsModel* parts) {
  // Sections follow the body one after another, each a tag, the size of
  // what follows (int32) and that many bytes; kinds other than the parts
  // section (the attribute texts, say) are stepped over.
  std::size_t at = offset;
  while (at < file.size()) {
    const std::size_t left = file.size() - at;
    if (left < 8) return ModelError::kMalformed;
    In frame(file.data() + at + 4, 4);
    const std::int32_t size = frame.I32();
    if (size < 0 || static_cast<std::size_t>(size) > left - 8) return ModelError::kMalformed;
    if (std::memcmp(file.data() + at, kPartsSignature, 4) == 0) {
      if (size < 4) return ModelError::kMalformed;
      In head(file.data() + at + 8, 4);
      if (head.I32() != static_cast<std::int32_t>(kPartsVersion)) return ModelError::kVersion;
      PartsModel read;
      if (!PartsSectionReader::Read(file.data() + at + 12, static_cast<std::size_t>(size) - 4,
                                    &read)) {
        return ModelError::kMalformed;
      }
      *parts = std::move(read);
      return ModelError::kNone;
    }
    at += 8 + static_cast<std::size_t>(size);
  }
  *parts = FromGeometry(geometry);
  return ModelError::kNone;
}

std::string PartsModel::Encode() const {
  Out records;
  for (const ShapeModel& model : models) {
    Out r;
    r.I32(model.attribute);
    records.Record(kModel, r);
  }
  for (std::size_t m = 0; m < models.size(); ++m) {
    for (const Shape& shape : models[m].shapes) {
      Out r;
      r.I32(static_cast<std::int32_t>(m));
      r.I32(shape.option);
      r.Offset(shape.offset);
      records.Record(kShape, r);
    }
  }
  for (const AttributeRecord& record : attributes) {
    Out r;
    r.I32(record.flag);
    r.Text(record.text);
    r.Text(record.maker);
    records.Record(kAttribute, r);
  }
  for (const TreePart& part : parts_) {
    Out r;
    r.I32(part.parent);
    r.I32(part.model);
    r.Offset(part.offset);
    records.Record(kPart, r);
  }
  for (std::size_t p = 0; p < parts_.size(); ++p) {
    for (const auto& [type, data] : parts_[p].blocks) {
      Out r;
      r.I32(static_cast<std::int32_t>(p));
      r.I32(type);
      r.Raw(data);
      records.Record(kPartsBlock, r);
    }
  }
  for (std::size_t m = 0; m < models.size(); ++m) {
    for (std::size_t s = 0; s < models[m].shapes.size(); ++s) {
      for (const auto& [type, data] : models[m].shapes[s].blocks) {
        Out r;
        r.I32(static_cast<std::int32_t>(m));
        r.I32(static_cast<std::int32_t>(s));
        r.I32(type);
        r.Raw(data);
        records.Record(kShapeBlock, r);
      }
    }
  }
  for (const auto& [key, data] : head_blocks) {
    Out r;
    r.I32(key.first);
    r.I32(key.second);
    r.Raw(data);
    records.Record(kHeadBlock, r);
  }
  for (const StoredView& view : views) {
    Out r;
    r.View(view);
    records.Record(kView, r);
  }
  if (current_view) {
    Out r;
    r.View(*current_view);
    records.Record(kCurrentView, r);
  }
  Out section;
  section.Raw(std::string(kPartsSignature, 4));
  section.I32(static_cast<std::int32_t>(4 + records.bytes().size()));
  section.I32(static_cast<std::int32_t>(kPartsVersion));
  section.Raw(records.bytes());
  return section.bytes();
}

std::int32_t PartsModel::AddPart(std::int32_t parent, std::int32_t model, const Placement& offset) {
  const auto index = static_cast<std::int32_t>(parts_.size());
  TreePart part;
  part.parent = parent;
  part.model = model;
  part.offset = offset;
  parts_.push_back(std::move(part));
  if (parent >= 0 && parent < index)
    parts_[static_cast<std::size_t>(parent)].children.push_back(index);
  return index;
}

std::int32_t PartsModel::CheckParts(std::int32_t parts) const {
  return parts >= 0 && static_cast<std::size_t>(parts) < parts_.size() ? 0 : -1;
}

std::int32_t PartsModel::ChildCount(std::int32_t parts) const {
  if (CheckParts(parts) < 0) return -1;
  return static_cast<std::int32_t>(parts_[static_cast<std::size_t>(parts)].children.size());
}

std::int32_t PartsModel::Child(std::int32_t parts, std::int32_t position) const {
  if (CheckParts(parts) < 0) return -1;
  const auto& children = parts_[static_cast<std::size_t>(parts)].children;
  if (position < 0 || static_cast<std::size_t>(position) >= children.size()) return -1;
  return children[static_cast<std::size_t>(position)];
}

const Placement* PartsModel::PartOffset(std::int32_t parts) const {
  if (CheckParts(parts) < 0) return nullptr;
  return &parts_[static_cast<std::size_t>(parts)].offset;
}

std::int32_t PartsModel::ModelOf(std::int32_t parts) const {
  if (CheckParts(parts) < 0) return -1;
  return parts_[static_cast<std::size_t>(parts)].model;
}

std::int32_t PartsModel::AttributeOf(std::int32_t model) const {
  if (model < 0 || static_cast<std::size_t>(model) >= models.size()) return -1;
  return models[static_cast<std::size_t>(model)].attribute;
}

const AttributeRecord* PartsModel::Attribute(std::int32_t attribute) const {
  if (attribute < 0 || static_cast<std::size_t>(attribute) >= attributes.size()) return nullptr;
  return &attributes[static_cast<std::size_t>(attribute)];
}

std::int32_t PartsModel::ShapeCount(std::int32_t model) const {
  if (model < 0 || static_cast<std::size_t>(model) >= models.size()) return -1;
  return static_cast<std::int32_t>(models[static_cast<std::size_t>(model)].shapes.size());
}

Shape* PartsModel::FindShape(std::int32_t model, std::int32_t shape) {
  if (ShapeCount(model) <= shape || shape < 0) return nullptr;
  return &models[static_cast<std::size_t>(model)].shapes[static_cast<std::size_t>(shape)];
}

const std::string* PartsModel::PartsBlock(std::int32_t parts, std::int32_t type) const {
  if (CheckParts(parts) < 0) return nullptr;
  const ExtendBlocks& blocks = parts_[static_cast<std::size_t>(parts)].blocks;
  auto it = blocks.find(type);
  return it == blocks.end() ? nullptr : &it->second;
}

bool PartsModel::SetPartsBlock(std::int32_t parts, std::int32_t type, std::string data) {
  if (CheckParts(parts) < 0) return false;
  parts_[static_cast<std::size_t>(parts)].blocks[type] = std::move(data);
  return true;
}

bool PartsModel::DeletePartsBlock(std::int32_t parts, std::int32_t type) {
  if (CheckParts(parts) < 0) return false;
  return parts_[static_cast<std::size_t>(parts)].blocks.erase(type) != 0;
}

const std::string* PartsModel::HeadBlock(std::int32_t index, std::int32_t type) const {
  auto it = head_blocks.find({index, type});
  return it == head_blocks.end() ? nullptr : &it->second;
}

const StoredView* PartsModel::View(std::int32_t kind, std::int32_t index) const {
  if (kind == 0) {
    if (current_view) return &*current_view;
    index = 0;
  } else if (kind != 1) {
    return nullptr;
  }
  if (index < 0 || static_cast<std::size_t>(index) >= views.size()) return nullptr;
  return &views[static_cast<std::size_t>(index)];
}

}  // namespace kx::kx3d
