#include "yamltree.h"

#include <cstdio>
#include <fstream>
#include <yaml-cpp/eventhandler.h>
#include <yaml-cpp/mark.h>
#include <yaml-cpp/parser.h>
#include <yaml.h>

namespace bank {

struct YamlNode::Data {
    Type type = Type::Null;
    int line = 0;
    std::string scalar;
    std::vector<YamlNode> items;
    std::vector<Pair> pairs;
};

YamlNode::YamlNode(Type type, int line, std::string scalar) : m_data(std::make_shared<Data>()) {
    m_data->type = type;
    m_data->line = line;
    m_data->scalar = std::move(scalar);
}

YamlNode YamlNode::undefined() {
    return YamlNode(Type::Undefined, 0);
}

YamlNode::Type YamlNode::type() const {
    return m_data ? m_data->type : Type::Null;
}

const std::string& YamlNode::scalar() const {
    static const std::string none;
    return m_data ? m_data->scalar : none;
}

int YamlNode::line() const {
    return m_data ? m_data->line : 0;
}

std::size_t YamlNode::size() const {
    if (!m_data)
        return 0;
    return m_data->type == Type::Map ? m_data->pairs.size() : m_data->items.size();
}

YamlNode YamlNode::operator[](std::size_t i) const {
    if (!m_data || m_data->type != Type::Sequence || i >= m_data->items.size())
        return undefined();
    return m_data->items[i];
}

YamlNode YamlNode::operator[](const char* key) const {
    if (m_data && m_data->type == Type::Map)
        for (const Pair& p : m_data->pairs)
            if (p.first.isScalar() && p.first.scalar() == key)
                return p.second;
    return undefined();
}

std::vector<YamlNode::Pair>::const_iterator YamlNode::begin() const {
    static const std::vector<Pair> none;
    return m_data ? m_data->pairs.cbegin() : none.cbegin();
}

std::vector<YamlNode::Pair>::const_iterator YamlNode::end() const {
    static const std::vector<Pair> none;
    return m_data ? m_data->pairs.cend() : none.cend();
}

void YamlNode::append(const YamlNode& item) {
    m_data->items.push_back(item);
}

void YamlNode::insert(const YamlNode& key, const YamlNode& value) {
    m_data->pairs.emplace_back(key, value);
}

namespace {

// Where a node stands on the way to the streamed items.
enum class Role { Plain, Root, Outer, Section, Inner, Item, InItem, Other };

// Builds nodes from events: in a scan all but the streamed items, in a
// stream only those.
class Builder : public YAML::EventHandler {
public:
    using ItemFn = std::function<void(int, int, const YamlNode&)>;

    Builder(const YamlStream& stream, const ItemFn* item) : m_stream(stream), m_item(item) {}

    YamlScan scan;
    bool stalled = false;
    bool anchored = false;

    void OnDocumentStart(const YAML::Mark& mark) override {
        stalled = m_previous >= 0 && m_previous == mark.pos;
        m_previous = mark.pos;
        if (stalled) {
            scan.stallLine = mark.line + 1;
            scan.stallColumn = mark.column + 1;
        }
        ++scan.documents;
    }
    void OnDocumentEnd() override {}
    void OnNull(const YAML::Mark& mark, YAML::anchor_t a) override {
        note(mark, a);
        leaf(YamlNode::Type::Null, mark, {});
    }
    void OnAlias(const YAML::Mark& mark, YAML::anchor_t) override {
        note(mark, 1);
        leaf(YamlNode::Type::Null, mark, {});
    }
    void OnScalar(const YAML::Mark& mark, const std::string&, YAML::anchor_t a,
                  const std::string& value) override {
        note(mark, a);
        leaf(YamlNode::Type::Scalar, mark, value);
    }
    void OnSequenceStart(const YAML::Mark& mark, const std::string&, YAML::anchor_t a,
                         YAML::EmitterStyle::value) override {
        note(mark, a);
        open(YamlNode::Type::Sequence, mark);
    }
    void OnSequenceEnd() override { close(); }
    void OnMapStart(const YAML::Mark& mark, const std::string&, YAML::anchor_t a,
                    YAML::EmitterStyle::value) override {
        note(mark, a);
        open(YamlNode::Type::Map, mark);
    }
    void OnMapEnd() override { close(); }

private:
    struct Frame {
        YamlNode node;
        bool isMap = false;
        Role role = Role::Plain;
        bool built = false;
        int outer = 0;
        int inner = 0;
        int children = 0;
        bool atKey = true;
        bool special = false;  // the value to come is the streamed list
        bool keyTaken = false; // the streamed key has been seen
        YamlNode key;
    };

    void note(const YAML::Mark& mark, YAML::anchor_t a) {
        if (a != YAML::NullAnchor && !anchored) {
            anchored = true;
            scan.anchorLine = mark.line + 1;
        }
        if (m_frames.empty() && scan.documents == 2 && !scan.secondLine)
            scan.secondLine = mark.line + 1;
    }

    // The role of the next node of `type`, and the numbers it carries.
    Role roleOf(YamlNode::Type type, Frame* numbers) const {
        using T = YamlNode::Type;
        if (m_frames.empty())
            return scan.documents == 1 ? Role::Root : Role::Other;
        const Frame& f = m_frames.back();
        numbers->outer = f.outer;
        numbers->inner = f.inner;
        switch (f.role) {
        case Role::Root:
            return !f.atKey && f.special && type == T::Sequence ? Role::Outer : Role::Plain;
        case Role::Outer:
            numbers->outer = f.children;
            return type == T::Map ? Role::Section : Role::Plain;
        case Role::Section:
            return !f.atKey && f.special && type == T::Sequence ? Role::Inner : Role::Plain;
        case Role::Inner:
            numbers->inner = f.children;
            return Role::Item;
        case Role::Item:
            return Role::InItem;
        default:
            return f.role;
        }
    }

    bool builds(Role role) const {
        const bool item = role == Role::Item || role == Role::InItem;
        return role != Role::Other && (m_item ? item : !item);
    }

    void leaf(YamlNode::Type type, const YAML::Mark& mark, const std::string& value) {
        Frame f;
        f.role = roleOf(type, &f);
        f.built = builds(f.role);
        if (f.built)
            f.node = YamlNode(type, mark.line + 1, value);
        complete(f, type == YamlNode::Type::Scalar ? &value : nullptr);
    }

    void open(YamlNode::Type type, const YAML::Mark& mark) {
        Frame f;
        f.role = roleOf(type, &f);
        f.built = builds(f.role);
        f.isMap = type == YamlNode::Type::Map;
        if (f.built)
            f.node = YamlNode(type, mark.line + 1);
        m_frames.push_back(f);
    }

    void close() {
        const Frame f = m_frames.back();
        m_frames.pop_back();
        complete(f, nullptr);
    }

    void complete(const Frame& done, const std::string* keyText) {
        if (done.role == Role::Item && m_item)
            (*m_item)(done.outer, done.inner, done.node);
        if (m_frames.empty()) {
            if (done.role == Role::Root && done.built)
                scan.root = done.node;
            return;
        }
        Frame& f = m_frames.back();
        if (f.isMap) {
            if (f.atKey) {
                const char* streamed = f.role == Role::Root      ? m_stream.outer
                                       : f.role == Role::Section ? m_stream.inner
                                                                 : nullptr;
                f.special = streamed && keyText && !f.keyTaken && *keyText == streamed;
                f.keyTaken = f.keyTaken || f.special;
                f.key = done.node;
            } else {
                if (f.built)
                    f.node.insert(f.key, done.node);
                ++f.children;
            }
            f.atKey = !f.atKey;
        } else {
            if (f.built && done.built)
                f.node.append(done.node);
            ++f.children;
        }
    }

    YamlStream m_stream;
    const ItemFn* m_item;
    std::vector<Frame> m_frames;
    long m_previous = -1;
};

// libyaml reads a well-formed source several times faster than yaml-cpp. It
// is taken for the plain YAML sources are written in; whatever it does not
// read cleanly (a fault, anchors, tags, more than one document) is read by
// yaml-cpp instead, whose findings authors have always had.
bool readFast(const std::string& path, Builder& b, bool wholeFile) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    yaml_parser_t parser;
    yaml_parser_initialize(&parser);
    yaml_parser_set_input_file(&parser, file);
    bool clean = true;
    bool done = false;
    int documents = 0;
    while (clean && !done) {
        yaml_event_t e;
        if (!yaml_parser_parse(&parser, &e)) {
            clean = false;
            break;
        }
        YAML::Mark mark;
        mark.pos = int(e.start_mark.index);
        mark.line = int(e.start_mark.line);
        mark.column = int(e.start_mark.column);
        switch (e.type) {
        case YAML_DOCUMENT_START_EVENT:
            clean = ++documents == 1;
            if (clean)
                b.OnDocumentStart(mark);
            break;
        case YAML_DOCUMENT_END_EVENT:
            b.OnDocumentEnd();
            done = !wholeFile;
            break;
        case YAML_STREAM_END_EVENT:
            clean = documents == 1;
            done = true;
            break;
        case YAML_ALIAS_EVENT:
            clean = false;
            break;
        case YAML_SCALAR_EVENT: {
            const auto& sc = e.data.scalar;
            clean = !sc.anchor && !sc.tag;
            const std::string value(reinterpret_cast<const char*>(sc.value), sc.length);
            if (!clean)
                break;
            if (sc.style == YAML_PLAIN_SCALAR_STYLE &&
                (value.empty() || value == "~" || value == "null" || value == "Null" ||
                 value == "NULL"))
                b.OnNull(mark, YAML::NullAnchor);
            else
                b.OnScalar(mark, std::string(), YAML::NullAnchor, value);
            break;
        }
        case YAML_SEQUENCE_START_EVENT:
            clean = !e.data.sequence_start.anchor && !e.data.sequence_start.tag;
            if (clean)
                b.OnSequenceStart(mark, std::string(), YAML::NullAnchor,
                                  YAML::EmitterStyle::Default);
            break;
        case YAML_SEQUENCE_END_EVENT:
            b.OnSequenceEnd();
            break;
        case YAML_MAPPING_START_EVENT:
            clean = !e.data.mapping_start.anchor && !e.data.mapping_start.tag;
            if (clean)
                b.OnMapStart(mark, std::string(), YAML::NullAnchor, YAML::EmitterStyle::Default);
            break;
        case YAML_MAPPING_END_EVENT:
            b.OnMapEnd();
            break;
        default:
            break;
        }
        yaml_event_delete(&e);
    }
    yaml_parser_delete(&parser);
    std::fclose(file);
    return clean;
}

} // namespace

YamlScan scanYaml(const std::string& path, const YamlStream& stream) {
    {
        Builder fast(stream, nullptr);
        if (readFast(path, fast, true)) {
            fast.scan.fast = true;
            return fast.scan;
        }
    }
    std::ifstream in(path, std::ios::binary);
    YAML::Parser parser(in);
    Builder b(stream, nullptr);
    while (!b.stalled && !b.anchored && parser.HandleNextDocument(b)) {
    }
    return b.scan;
}

void streamYaml(const std::string& path, bool fast, const YamlStream& stream,
                const std::function<void(int, int, const YamlNode&)>& item) {
    Builder b(stream, &item);
    if (fast) {
        readFast(path, b, false);
        return;
    }
    std::ifstream in(path, std::ios::binary);
    YAML::Parser parser(in);
    parser.HandleNextDocument(b);
}

} // namespace bank
