#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// The YAML of a bank source as kivor-bank reads it: nodes built from the
// parser's events, so that the questions of a long source can be read one at
// a time instead of as one tree of the whole file.
namespace bank {

// A node with the line it starts on. A default node is null and has no line,
// like a part of a question that was never read; a key a mapping lacks is
// undefined.
class YamlNode {
public:
    enum class Type { Undefined, Null, Scalar, Sequence, Map };
    using Pair = std::pair<YamlNode, YamlNode>;

    YamlNode() = default;
    YamlNode(Type type, int line, std::string scalar = {});
    static YamlNode undefined();

    bool isDefined() const { return type() != Type::Undefined; }
    bool isNull() const { return type() == Type::Null; }
    bool isScalar() const { return type() == Type::Scalar; }
    bool isSequence() const { return type() == Type::Sequence; }
    bool isMap() const { return type() == Type::Map; }
    const std::string& scalar() const;
    int line() const; // 1-based; 0 when none

    std::size_t size() const;
    YamlNode operator[](std::size_t i) const;
    YamlNode operator[](int i) const { return (*this)[std::size_t(i)]; }
    // The value of the first key that is this text.
    YamlNode operator[](const char* key) const;
    std::vector<Pair>::const_iterator begin() const;
    std::vector<Pair>::const_iterator end() const;

    void append(const YamlNode& item);
    void insert(const YamlNode& key, const YamlNode& value);

private:
    Type type() const;

    struct Data;
    std::shared_ptr<Data> m_data;
};

// What the first pass over a file finds: its first document without the
// items of the streamed lists, and what stops it being read at all.
struct YamlScan {
    YamlNode root = YamlNode::undefined();
    int documents = 0;
    int secondLine = 0; // where the second document starts
    int stallLine = 0;  // where the parser stopped making progress
    int stallColumn = 0;
    int anchorLine = 0; // the first anchor or alias
    bool fast = false;  // read by libyaml: read it so again
};

// The items of `inner` lists inside the items of the `outer` list of the
// root mapping, e.g. the questions of the sections of a bank source: left
// out of the scan, and handed one at a time to the reader of the items.
struct YamlStream {
    const char* outer = nullptr;
    const char* inner = nullptr;
};

// Walks the documents of the file until one holds an anchor or the parser
// stalls. Throws YAML::Exception on text that is no YAML.
YamlScan scanYaml(const std::string& path, const YamlStream& stream);

// Reads the first document of the file again, as the scan did (`fast`), and
// passes every streamed item, with the number of its outer item and its own
// (both 0-based), to `item`.
void streamYaml(const std::string& path, bool fast, const YamlStream& stream,
                const std::function<void(int outer, int inner, const YamlNode& item)>& item);

} // namespace bank
