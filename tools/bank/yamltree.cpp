#include "yamltree.h"

#include <cstring>
#include <yaml-cpp/eventhandler.h>
#include <yaml-cpp/mark.h>
#include <yaml-cpp/parser.h>

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

} // namespace

YamlScan scanYaml(std::istream& in, const YamlStream& stream) {
    YAML::Parser parser(in);
    Builder b(stream, nullptr);
    while (!b.stalled && !b.anchored && parser.HandleNextDocument(b)) {
    }
    return b.scan;
}

void streamYaml(std::istream& in, const YamlStream& stream,
                const std::function<void(int, int, const YamlNode&)>& item) {
    YAML::Parser parser(in);
    Builder b(stream, &item);
    parser.HandleNextDocument(b);
}

} // namespace bank
