#include "evaluation/rent_index/edition_reading.h"

#include "evaluation/answers/choice_captions.h"
#include "evaluation/answers/inputs.h"
#include "evaluation/answers/json_reading.h"
#include "evaluation/answers/visible_text.h"
#include "evaluation/number/extended_decimal.h"
#include "evaluation/rent_index/admission.h"
#include "evaluation/rent_index/fill.h"
#include "evaluation/rent_index/priced_answers.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>

namespace msr {
namespace {

// --- the file as a tree of JSON values ---------------------------------------------------

struct Node {
    enum class Type { Null, Bool, String, Number, Array, Object };
    Type type = Type::Null;
    bool boolean = false;
    std::string text; // a string's text, a number's digits as written
    std::size_t at = 0;
    std::string key; // as a member of an object: its key, and where the key stands
    std::size_t keyAt = 0;
    std::vector<Node> children;
    bool missing = false; // stands in for a member that the file lacks, which is faulted once
};

// Far more values than an edition has (the first has about 450), and a bound on the memory
// one file costs.
constexpr std::size_t kMostValues = 20000;

// Builds the tree as the reader tells it. Past kMostValues it keeps nothing more, and the
// file is refused.
class TreeBuilder {
public:
    explicit TreeBuilder(Node& root) : root_(root) {}

    bool tooMany() const { return values_ > kMostValues; }

    void beginObject(std::size_t at) { open(Node::Type::Object, at); }
    void beginArray(std::size_t at) { open(Node::Type::Array, at); }
    void endObject() { close(); }
    void endArray() { close(); }
    void key(std::string_view key, std::size_t at) {
        pendingKey_.assign(key);
        pendingKeyAt_ = at;
    }
    void scalar(JsonScalar kind, std::string_view text, std::size_t at) {
        Node* node = add(at);
        if (node == nullptr)
            return;
        switch (kind) {
        case JsonScalar::Null:
            node->type = Node::Type::Null;
            break;
        case JsonScalar::True:
        case JsonScalar::False:
            node->type = Node::Type::Bool;
            node->boolean = kind == JsonScalar::True;
            break;
        case JsonScalar::String:
            node->type = Node::Type::String;
            node->text.assign(text);
            break;
        case JsonScalar::Number:
            node->type = Node::Type::Number;
            node->text.assign(text);
            break;
        }
    }

private:
    // The new value's place: the root, or the last child of the innermost open container.
    // A parent's children are only added to while it is innermost, so a pointer to an open
    // container stays valid.
    Node* add(std::size_t at) {
        if (++values_ > kMostValues)
            return nullptr;
        Node* node = &root_;
        if (!open_.empty()) {
            Node& parent = *open_.back();
            parent.children.emplace_back();
            node = &parent.children.back();
            if (parent.type == Node::Type::Object) {
                node->key = std::move(pendingKey_);
                node->keyAt = pendingKeyAt_;
            }
        }
        node->at = at;
        return node;
    }

    void open(Node::Type type, std::size_t at) {
        Node* node = add(at);
        if (node == nullptr)
            return;
        node->type = type;
        open_.push_back(node);
    }

    void close() {
        if (!tooMany())
            open_.pop_back();
    }

    Node& root_;
    std::vector<Node*> open_;
    std::string pendingKey_;
    std::size_t pendingKeyAt_ = 0;
    std::size_t values_ = 0;
};

// --- the checks --------------------------------------------------------------------------

constexpr std::size_t kMostFaults = 20;
constexpr std::size_t kLongestText = 10000;
constexpr std::size_t kMostParagraphs = 200;
constexpr std::size_t kMostSizeClasses = 20;
constexpr std::int64_t kMostCentsPerSquareMetre = 10000; // 100 Euro: a span's bound
constexpr std::int64_t kMostAmountCents = 1000;          // 10 Euro: a surcharge's
constexpr std::int64_t kLargestSizeBound = 100000;       // square metres

constexpr const char* kNewQuestions =
    "eine Ausgabe, die andere Fragen braucht, braucht ein neues Programm";

// A decimal as the file writes it: its digits without the point, and the power of ten.
struct Decimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;
    std::int64_t cents = 0; // the value in hundredths
    std::string written;
};

class Checker {
public:
    Checker(std::string_view text, std::string_view file) : text_(text), file_(file) {}

    const std::vector<std::string>& faults() const { return faults_; }
    bool failed() const { return !faults_.empty(); }

    void fault(std::size_t at, const std::string& path, const std::string& reason) {
        if (faults_.size() == kMostFaults)
            return;
        std::string line = "\"" + WithVisibleControls(std::string(file_)) + "\", Zeile " +
                           std::to_string(JsonLineOf(text_, at));
        if (!path.empty())
            line += ", " + path;
        faults_.push_back(line + ": " + reason);
    }
    void fault(const Node& node, const std::string& path, const std::string& reason) {
        fault(node.at, path, reason);
    }

    bool isType(const Node& node, Node::Type type, const std::string& path, const char* expected) {
        if (node.type == type)
            return true;
        if (node.missing)
            return false;
        std::string found;
        switch (node.type) {
        case Node::Type::Null:
            found = "null";
            break;
        case Node::Type::Bool:
            found = node.boolean ? "true" : "false";
            break;
        case Node::Type::String:
            found = "der Text \"" + WithVisibleControls(node.text.substr(0, 40)) + "\"";
            break;
        case Node::Type::Number:
            found = "die Zahl " + node.text;
            break;
        case Node::Type::Array:
            found = "eine Liste";
            break;
        case Node::Type::Object:
            found = "ein Objekt";
            break;
        }
        fault(node, path, std::string("Erwartet wird ") + expected + ", nicht " + found);
        return false;
    }

    std::string text(const Node& node, const std::string& path, bool mayBeEmpty = true) {
        if (!isType(node, Node::Type::String, path, "ein Text in Anführungszeichen"))
            return {};
        if (node.text.size() > kLongestText) {
            fault(node, path, "Der Text ist länger als " + std::to_string(kLongestText) + " Bytes");
            return {};
        }
        const auto control = std::find_if(node.text.begin(), node.text.end(), [](char c) {
            return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
        });
        if (control != node.text.end()) {
            fault(node, path,
                  "Der Text enthält ein Steuerzeichen (" +
                      WithVisibleControls(std::string(1, *control)) +
                      "); ein Absatz ist eine Zeile, jeder weitere Absatz ein Eintrag für sich");
            return {};
        }
        if (!mayBeEmpty && node.text.find_first_not_of(' ') == std::string::npos)
            fault(node, path, "Der Text ist leer");
        return node.text;
    }

    // A sentence whose holes are among `allowed`, and which has each of `required`.
    Sentence sentence(const Node& node, const std::string& path,
                      std::initializer_list<Hole> allowed,
                      std::initializer_list<Hole> required = {}, bool mayBeEmpty = false) {
        if (node.type != Node::Type::String) {
            text(node, path); // the fault of a value that is no text
            return {};
        }
        const std::string written = text(node, path, mayBeEmpty);
        std::string why;
        const std::optional<Sentence> read = Sentence::Read(written, allowed, why);
        if (!read) {
            fault(node, path, why);
            return {};
        }
        for (const Hole hole : required)
            if (!read->has(hole))
                fault(node, path, std::string("Der Satz nennt {") + HoleName(hole) + "} nicht");
        return *read;
    }

    CalendarDate date(const Node& node, const std::string& path) {
        if (!isType(node, Node::Type::String, path, "ein Tag wie \"2016-12-31\""))
            return {};
        const std::optional<CalendarDate> day = ParseIsoDate(node.text);
        if (!day) {
            fault(node, path,
                  "\"" + WithVisibleControls(node.text) +
                      "\" ist kein Tag des Kalenders wie \"2016-12-31\" (Jahr-Monat-Tag)");
            return {};
        }
        return *day;
    }

    // A number as a rent index prints it: at most two decimals, no exponent.
    std::optional<Decimal> decimal(const Node& node, const std::string& path) {
        if (!isType(node, Node::Type::Number, path, "eine Zahl wie 4.73"))
            return std::nullopt;
        Decimal number;
        number.written = node.text;
        std::string_view text = node.text;
        if (!text.empty() && text.front() == '-') {
            number.negative = true;
            text.remove_prefix(1);
        }
        const std::size_t point = text.find('.');
        const std::string_view whole = text.substr(0, point);
        const std::string_view decimals =
            point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
        if (text.find_first_of("eE") != std::string_view::npos || decimals.size() > 2 ||
            whole.size() > 9) {
            fault(node, path,
                  "Die Zahl " + node.text +
                      " ist keine Dezimalzahl mit höchstens zwei Nachkommastellen wie 4.73");
            return std::nullopt;
        }
        number.digits = std::string(whole) + std::string(decimals);
        number.exponent = -static_cast<int>(decimals.size());
        std::int64_t cents = 0;
        for (const char c : number.digits)
            cents = cents * 10 + (c - '0');
        for (std::size_t i = decimals.size(); i < 2; ++i)
            cents *= 10;
        number.cents = number.negative ? -cents : cents;
        return number;
    }

    // A bound of a span, within (0, 100] Euro, as the float the evaluation starts from.
    std::optional<float> spanValue(const Node& node, const std::string& path, std::int64_t& cents) {
        const std::optional<Decimal> number = decimal(node, path);
        if (!number)
            return std::nullopt;
        if (number->cents <= 0 || number->cents > kMostCentsPerSquareMetre) {
            fault(node, path,
                  "Die Zahl " + number->written +
                      " liegt außerhalb jeder Spanne eines Mietspiegels (0.01 bis 100.00 Euro je "
                      "Quadratmeter)");
            return std::nullopt;
        }
        cents = number->cents;
        return FloatFromDecimal(number->negative, number->digits, number->exponent);
    }

    // A surcharge (positive) or deduction (negative) of at most 10 Euro per square metre.
    double amount(const Node& node, const std::string& path) {
        const std::optional<Decimal> number = decimal(node, path);
        if (!number)
            return 0;
        if (number->cents < -kMostAmountCents || number->cents > kMostAmountCents) {
            fault(node, path,
                  "Der Betrag " + number->written +
                      " liegt außerhalb jedes Zu- oder Abschlags eines Mietspiegels (-10.00 bis "
                      "10.00 Euro je Quadratmeter)");
            return 0;
        }
        return DoubleFromDecimal(number->negative, number->digits, number->exponent).value_or(0);
    }

private:
    std::string_view text_;
    std::string_view file_;
    std::vector<std::string> faults_;
};

std::string Member(const std::string& path, const char* key) {
    return path.empty() ? key : path + "." + key;
}

std::string Item(const std::string& path, std::size_t index) {
    return path + "[" + std::to_string(index) + "]";
}

// The members of one object, each taken at most once; finish() refuses the keys nobody took
// and any key that stands twice.
class Members {
public:
    Members(Checker& checker, const Node& object, std::string path)
        : checker_(checker), object_(object), path_(std::move(path)),
          taken_(object.children.size(), false) {}

    const Node* optional(const char* key) {
        for (std::size_t i = 0; i < object_.children.size(); ++i)
            if (object_.children[i].key == key) {
                taken_[i] = true;
                return &object_.children[i];
            }
        return nullptr;
    }

    // The member, or the fault that it is missing and a null value in its place.
    const Node& required(const char* key) {
        if (const Node* found = optional(key))
            return *found;
        checker_.fault(object_, path_, std::string("Der Schlüssel \"") + key + "\" fehlt");
        return kMissing;
    }

    // A key that must not stand here, with why.
    void forbid(const char* key, const std::string& why) {
        if (const Node* found = optional(key))
            checker_.fault(found->keyAt, Member(path_, key), why);
    }

    const std::string& path() const { return path_; }
    std::string path(const char* key) const { return Member(path_, key); }

    void finish() {
        for (std::size_t i = 0; i < object_.children.size(); ++i) {
            const Node& member = object_.children[i];
            for (std::size_t j = 0; j < i; ++j)
                if (object_.children[j].key == member.key) {
                    checker_.fault(member.keyAt, Member(path_, member.key.c_str()),
                                   "Der Schlüssel steht zweimal in diesem Objekt");
                    break;
                }
            if (!taken_[i])
                checker_.fault(member.keyAt, Member(path_, member.key.c_str()),
                               "Unbekannter Schlüssel \"" + WithVisibleControls(member.key) + "\"");
        }
    }

private:
    static inline const Node kMissing = [] {
        Node missing;
        missing.missing = true;
        return missing;
    }();
    Checker& checker_;
    const Node& object_;
    std::string path_;
    std::vector<bool> taken_;
};

// The items of a list, or none where the value is no list.
const std::vector<Node>& Items(Checker& checker, const Node& node, const std::string& path) {
    static const std::vector<Node> kNone;
    if (!checker.isType(node, Node::Type::Array, path, "eine Liste in eckigen Klammern"))
        return kNone;
    return node.children;
}

bool IsObject(Checker& checker, const Node& node, const std::string& path) {
    return checker.isType(node, Node::Type::Object, path, "ein Objekt in geschweiften Klammern");
}

// Hands each paragraph object of a list, at most kMostParagraphs of them, to read(members,
// item, itemPath); a longer list is a fault.
template <typename Read>
void ForEachParagraph(Checker& checker, const Node& node, const std::string& path, Read&& read) {
    const std::vector<Node>& items = Items(checker, node, path);
    if (items.size() > kMostParagraphs)
        checker.fault(node, path,
                      "Mehr als " + std::to_string(kMostParagraphs) + " Absätze sind zu viele");
    for (std::size_t i = 0; i < items.size() && i < kMostParagraphs; ++i) {
        const std::string itemPath = Item(path, i);
        if (!IsObject(checker, items[i], itemPath))
            continue;
        Members members(checker, items[i], itemPath);
        read(members, items[i], itemPath);
    }
}

std::vector<FixedParagraph> Paragraphs(Checker& checker, const Node& node,
                                       const std::string& path) {
    std::vector<FixedParagraph> paragraphs;
    ForEachParagraph(
        checker, node, path, [&](Members& members, const Node& item, const std::string& itemPath) {
            const Node* body = members.optional("body");
            const Node* heading = members.optional("heading");
            if ((body == nullptr) == (heading == nullptr)) {
                checker.fault(item, itemPath,
                              "Ein Absatz ist {\"body\": \"Text\"} oder "
                              "{\"heading\": \"Text\"}");
                return;
            }
            members.finish();
            paragraphs.push_back(
                {body ? ParagraphKind::Body : ParagraphKind::Heading,
                 checker.text(body ? *body : *heading, members.path(body ? "body" : "heading"))});
        });
    return paragraphs;
}

Publisher ReadPublisher(Checker& checker, const Node& node, const std::string& path) {
    Publisher publisher;
    if (!IsObject(checker, node, path))
        return publisher;
    Members members(checker, node, path);
    const auto field = [&](const char* key) {
        return checker.text(members.required(key), members.path(key), false);
    };
    publisher.association = field("association");
    publisher.kind = field("kind");
    publisher.address = field("address");
    publisher.telephone = field("telephone");
    publisher.webAddress = field("webAddress");
    members.finish();
    return publisher;
}

std::vector<YearClassRow> YearClasses(Checker& checker, const Node& node, const std::string& path) {
    std::vector<YearClassRow> classes;
    const std::vector<Node>& items = Items(checker, node, path);
    const auto offered = static_cast<std::size_t>(ChoiceCount("YearClass"));
    if (node.type == Node::Type::Array && items.size() != offered)
        checker.fault(node, path,
                      "Die Ausgabe nennt " + std::to_string(items.size()) +
                          " Baualtersklassen, der Fragebogen bietet " + std::to_string(offered) +
                          " an (" + CaptionOf("YearClass", 1) + " bis " +
                          CaptionOf("YearClass", static_cast<Choice>(offered)) + "); " +
                          kNewQuestions);
    for (std::size_t i = 0; i < items.size() && i < offered; ++i) {
        const std::string itemPath = Item(path, i);
        if (!IsObject(checker, items[i], itemPath))
            continue;
        Members members(checker, items[i], itemPath);
        YearClassRow row;
        row.period = checker.text(members.required("period"), members.path("period"), false);
        std::int64_t low = 0, high = 0, mean = 0;
        const Node& lowNode = members.required("low");
        const Node& highNode = members.required("high");
        const Node& meanNode = members.required("mean");
        const auto lowValue = checker.spanValue(lowNode, members.path("low"), low);
        const auto highValue = checker.spanValue(highNode, members.path("high"), high);
        const auto meanValue = checker.spanValue(meanNode, members.path("mean"), mean);
        members.finish();
        if (!lowValue || !highValue || !meanValue)
            continue;
        if (low > mean)
            checker.fault(lowNode, members.path("low"),
                          "Die Untergrenze " + lowNode.text + " liegt über dem Mittelwert " +
                              meanNode.text);
        if (mean > high)
            checker.fault(meanNode, members.path("mean"),
                          "Der Mittelwert " + meanNode.text + " liegt über der Obergrenze " +
                              highNode.text);
        row.low = *lowValue;
        row.high = *highValue;
        row.mean = *meanValue;
        classes.push_back(std::move(row));
    }
    return classes;
}

// The rule of every priced sentence: where the figures move, it names the amount; where
// they stay, it cannot.
void CheckAmountNamed(Checker& checker, const Node& sentenceNode, const std::string& path,
                      const Sentence& sentence, double amount) {
    if (sentenceNode.type != Node::Type::String)
        return;
    if (amount != 0 && !sentence.has(Hole::Amount))
        checker.fault(sentenceNode, path, "Der Satz nennt seinen {Betrag} nicht");
    if (amount == 0 && sentence.has(Hole::Amount))
        checker.fault(sentenceNode, path,
                      "Der Betrag ist 0.00, die Zahlen bleiben, wie sie sind: der Satz kann "
                      "keinen {Betrag} nennen");
}

void ReadSizeSection(Checker& checker, const Node& node, const std::string& path,
                     Edition& edition) {
    if (!IsObject(checker, node, path))
        return;
    Members members(checker, node, path);
    edition.sizeHeading = checker.text(members.required("heading"), members.path("heading"), false);
    edition.sizeExplanation =
        checker.text(members.required("explanation"), members.path("explanation"));

    const Node& apartment = members.required("apartment");
    const std::string apartmentPath = members.path("apartment");
    if (IsObject(checker, apartment, apartmentPath)) {
        Members row(checker, apartment, apartmentPath);
        edition.apartment.amount = checker.amount(row.required("amount"), row.path("amount"));
        const Node& sentence = row.required("sentence");
        edition.apartment.sentence =
            checker.sentence(sentence, row.path("sentence"), {Hole::Amount, Hole::Mean});
        CheckAmountNamed(checker, sentence, row.path("sentence"), edition.apartment.sentence,
                         edition.apartment.amount);
        row.finish();
    }

    const Node& classes = members.required("classes");
    const std::string classesPath = members.path("classes");
    const std::vector<Node>& items = Items(checker, classes, classesPath);
    if (classes.type == Node::Type::Array && (items.empty() || items.size() > kMostSizeClasses))
        checker.fault(classes, classesPath,
                      "Erwartet werden 1 bis " + std::to_string(kMostSizeClasses) +
                          " Größenklassen");
    std::int64_t previous = 0;
    for (std::size_t i = 0; i < items.size() && i < kMostSizeClasses; ++i) {
        const std::string itemPath = Item(classesPath, i);
        if (!IsObject(checker, items[i], itemPath))
            continue;
        Members row(checker, items[i], itemPath);
        SizeClassRow sizeClass;
        const Node& upTo = row.required("upTo");
        const bool last = i + 1 == items.size();
        if (last) {
            if (upTo.type != Node::Type::Null)
                checker.fault(upTo, row.path("upTo"),
                              "Die letzte Größenklasse hat keine Obergrenze: \"upTo\": null");
            sizeClass.upTo = std::numeric_limits<float>::infinity();
        } else if (const std::optional<Decimal> bound = checker.decimal(upTo, row.path("upTo"))) {
            const std::int64_t squareMetres = bound->cents / 100;
            if (bound->cents % 100 != 0 || squareMetres < 1 || squareMetres > kLargestSizeBound)
                checker.fault(upTo, row.path("upTo"),
                              "Die Obergrenze einer Größenklasse ist eine ganze Zahl von "
                              "Quadratmetern von 1 bis " +
                                  std::to_string(kLargestSizeBound));
            else if (squareMetres <= previous)
                checker.fault(upTo, row.path("upTo"),
                              "Die Größenklassen stehen nicht der Größe nach: " + upTo.text +
                                  " folgt auf " + std::to_string(previous));
            previous = squareMetres;
            sizeClass.upTo = static_cast<float>(squareMetres);
        }
        sizeClass.amount = checker.amount(row.required("amount"), row.path("amount"));
        const Node& sentence = row.required("sentence");
        sizeClass.sentence = checker.sentence(sentence, row.path("sentence"),
                                              {Hole::LivingArea, Hole::Amount, Hole::Mean});
        CheckAmountNamed(checker, sentence, row.path("sentence"), sizeClass.sentence,
                         sizeClass.amount);
        row.finish();
        edition.sizeClasses.push_back(std::move(sizeClass));
    }
    members.finish();
}

// The answer a feature prices, as its dialog offers it.
struct PricedAnswer {
    const InputRow* input = nullptr;
    int value = 1;
};

std::string AnswerName(const PricedAnswer& answer) {
    if (answer.input->kind != InputKind::Choice)
        return std::string(answer.input->name) + " (" + answer.input->caption + ")";
    const char* caption = CaptionOf(answer.input->name, answer.value);
    return std::string(answer.input->name) + " " + std::to_string(answer.value) + " (" +
           (caption ? caption : "") + ")";
}

// Every answer of the dialog that a section prices: each choice of its choice inputs, and
// the tick of each yes/no input.
std::vector<PricedAnswer> AnswersOfDialog(std::string_view dialog) {
    std::vector<PricedAnswer> answers;
    for (const InputRow& input : Inputs()) {
        if (dialog != input.dialog || input.kind == InputKind::Text)
            continue;
        const int values = input.kind == InputKind::Choice ? input.choiceCount : 1;
        for (int value = 1; value <= values; ++value)
            answers.push_back({&input, value});
    }
    return answers;
}

bool AsksRequiredAnswer(std::string_view dialog) {
    for (const RequiredAnswer& required : kRequiredAnswers)
        if (const InputRow* input = FindInput(required.input); input && dialog == input->dialog)
            return true;
    return false;
}

std::optional<PricedAnswer> FeatureAnswer(Checker& checker, Members& row, std::string_view dialog) {
    const Node& inputNode = row.required("input");
    const std::string name = checker.text(inputNode, row.path("input"));
    if (inputNode.type != Node::Type::String)
        return std::nullopt;
    const InputRow* input = FindInput(name);
    if (input == nullptr || input->kind == InputKind::Text) {
        checker.fault(inputNode, row.path("input"),
                      "Die Frage \"" + WithVisibleControls(name) +
                          "\" stellt der Fragebogen nicht; " + kNewQuestions);
        return std::nullopt;
    }
    if (dialog != input->dialog) {
        checker.fault(inputNode, row.path("input"),
                      "Die Frage " + name + " gehört in den Abschnitt des Dialogs \"" +
                          input->dialog + "\", nicht in diesen (\"" + std::string(dialog) + "\")");
        return std::nullopt;
    }
    PricedAnswer answer{input, 1};
    if (input->kind != InputKind::Choice) {
        row.forbid("choice",
                   "Die Frage " + name + " ist ein Häkchen (ja/nein) und hat keine Auswahl");
        return answer;
    }
    const Node& choice = row.required("choice");
    const std::optional<Decimal> number = checker.decimal(choice, row.path("choice"));
    if (!number)
        return std::nullopt;
    if (number->cents % 100 != 0 || number->cents < 100 ||
        number->cents > 100 * std::int64_t{input->choiceCount}) {
        checker.fault(choice, row.path("choice"),
                      "Der Fragebogen bietet für " + name + " die Auswahl 1 bis " +
                          std::to_string(input->choiceCount) + "; " + kNewQuestions);
        return std::nullopt;
    }
    answer.value = static_cast<int>(number->cents / 100);
    return answer;
}

FeatureSectionRow ReadFeatureSection(Checker& checker, const Node& node, const std::string& path,
                                     std::string_view dialog) {
    FeatureSectionRow section;
    if (!IsObject(checker, node, path))
        return section;
    Members members(checker, node, path);
    section.heading = checker.text(members.required("heading"), members.path("heading"), false);
    section.explanation =
        checker.text(members.required("explanation"), members.path("explanation"));
    if (AsksRequiredAnswer(dialog))
        members.forbid("noAnswer", "Diese Frage ist immer beantwortet: ein Satz für keine Angabe "
                                   "erscheint nie");
    else
        section.noAnswer =
            checker.text(members.required("noAnswer"), members.path("noAnswer"), false);

    const std::vector<PricedAnswer> offered = AnswersOfDialog(dialog);
    std::vector<std::string> pricedAt(offered.size()); // where each answer is priced
    const Node& features = members.required("features");
    const std::string featuresPath = members.path("features");
    const std::vector<Node>& items = Items(checker, features, featuresPath);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string itemPath = Item(featuresPath, i);
        if (!IsObject(checker, items[i], itemPath))
            continue;
        Members row(checker, items[i], itemPath);
        FeatureRow feature;
        const std::optional<PricedAnswer> answer = FeatureAnswer(checker, row, dialog);
        feature.amount = checker.amount(row.required("amount"), row.path("amount"));
        const Node& sentence = row.required("sentence");
        feature.sentence =
            checker.sentence(sentence, row.path("sentence"), {Hole::Amount, Hole::Mean});
        CheckAmountNamed(checker, sentence, row.path("sentence"), feature.sentence, feature.amount);
        if (answer) {
            const std::size_t place = static_cast<std::size_t>(
                std::find_if(offered.begin(), offered.end(),
                             [&](const PricedAnswer& a) {
                                 return a.input == answer->input && a.value == answer->value;
                             }) -
                offered.begin());
            if (!pricedAt[place].empty())
                checker.fault(items[i], itemPath,
                              "Das Merkmal " + AnswerName(*answer) + " steht schon in " +
                                  pricedAt[place]);
            else
                pricedAt[place] = itemPath;
            feature.value = answer->value;
            feature.input = answer->input->kind == InputKind::Choice
                                ? AskedInput(answer->input->choice)
                                : AskedInput(answer->input->yesNo);
            if (CountsOnlyBefore1980(answer->input->name, answer->value))
                feature.contradiction =
                    checker.text(row.required("contradiction"), row.path("contradiction"), false);
            else
                row.forbid("contradiction", "Dieses Merkmal zählt bei jedem Baujahr; ein Satz für "
                                            "den Widerspruch zum Baujahr erscheint nie");
        } else {
            row.optional("choice");
            row.optional("contradiction");
        }
        row.finish();
        section.features.push_back(std::move(feature));
    }
    if (features.type == Node::Type::Array)
        for (std::size_t i = 0; i < offered.size(); ++i)
            if (pricedAt[i].empty())
                checker.fault(features, featuresPath,
                              "Es fehlt das Merkmal " + AnswerName(offered[i]) +
                                  ", das der Dialog \"" + std::string(dialog) +
                                  "\" abfragt (ein Betrag von 0.00, wo es nichts ändert)");

    if (const Node* mean = members.optional("closingMeanSentence"))
        section.closingMeanSentence = checker.sentence(*mean, members.path("closingMeanSentence"),
                                                       {Hole::Mean}, {Hole::Mean});
    if (const Node* remark = members.optional("closingRemark"))
        section.closingRemark = checker.text(*remark, members.path("closingRemark"), false);
    members.finish();
    return section;
}

void ReadFeatureSections(Checker& checker, const Node& node, const std::string& path,
                         Edition& edition) {
    const std::vector<Node>& items = Items(checker, node, path);
    if (node.type == Node::Type::Array && items.size() != kFeatureSectionCount)
        checker.fault(node, path,
                      "Die Ausgabe nennt " + std::to_string(items.size()) +
                          " Abschnitte von Merkmalen, der Fragebogen fragt in " +
                          std::to_string(kFeatureSectionCount) + " Dialogen nach ihnen (" +
                          kFeatureSectionDialogs[0] + " bis " +
                          kFeatureSectionDialogs[kFeatureSectionCount - 1] + "); " + kNewQuestions);
    for (std::size_t i = 0; i < items.size() && i < kFeatureSectionCount; ++i)
        edition.featureSections.push_back(
            ReadFeatureSection(checker, items[i], Item(path, i), kFeatureSectionDialogs[i]));
}

void ReadFinalCalculation(Checker& checker, const Node& node, const std::string& path,
                          Edition& edition) {
    if (!IsObject(checker, node, path))
        return;
    Members members(checker, node, path);
    edition.finalCalculationHeading =
        checker.text(members.required("heading"), members.path("heading"), false);
    const std::initializer_list<Hole> all = {Hole::Mean,       Hole::Low,      Hole::High,
                                             Hole::LivingArea, Hole::TotalLow, Hole::TotalHigh,
                                             Hole::TotalMean};
    edition.finalSentence =
        checker.sentence(members.required("sentence"), members.path("sentence"), all, all);
    members.finish();
}

std::vector<InformationParagraph> Information(Checker& checker, const Node& node,
                                              const std::string& path, const Edition& edition) {
    std::vector<InformationParagraph> paragraphs;
    ForEachParagraph(checker, node, path, [&](Members& members, const Node&, const std::string&) {
        InformationParagraph paragraph;
        paragraph.text = checker
                             .sentence(members.required("text"), members.path("text"),
                                       {Hole::Stand, Hole::TermEnd}, {}, true)
                             .filled({{Hole::Stand, edition.stand},
                                      {Hole::TermEnd, GermanDate(edition.termEnd)}});
        if (const Node* bullet = members.optional("bullet"))
            if (checker.isType(*bullet, Node::Type::Bool, members.path("bullet"),
                               "true oder false"))
                paragraph.bullet = bullet->boolean;
        members.finish();
        paragraphs.push_back(std::move(paragraph));
    });
    return paragraphs;
}

// A file of another format, or of a version of it that this program does not know, is
// named so, before any of its details.
bool IsOfOurFormat(Checker& checker, Members& members) {
    const Node& format = members.required("format");
    if (format.type != Node::Type::String || format.text != kEditionFormat) {
        checker.fault(format, "format",
                      std::string("Das ist keine Ausgabe des Mietspiegels: \"format\" muss \"") +
                          kEditionFormat + "\" sein");
        return false;
    }
    const Node& version = members.required("formatVersion");
    if (version.type != Node::Type::Number ||
        version.text != std::to_string(kEditionFormatVersion)) {
        checker.fault(version, "formatVersion",
                      "Die Version " + WithVisibleControls(version.text) +
                          " des Formats kennt dieses Programm nicht; es liest Version " +
                          std::to_string(kEditionFormatVersion) +
                          ". Ein neueres Programm "
                          "liest sie vielleicht");
        return false;
    }
    return true;
}

void ReadTop(Checker& checker, const Node& root, Edition& edition) {
    Members members(checker, root, "");
    if (!IsOfOurFormat(checker, members))
        return;
    members.optional("$schema"); // where an editor finds the format's schema
    edition.name = checker.text(members.required("name"), "name", false);
    edition.stand = checker.text(members.required("stand"), "stand", false);
    const Node& from = members.required("inForceFrom");
    const Node& to = members.required("termEnd");
    edition.inForceFrom = checker.date(from, "inForceFrom");
    edition.termEnd = checker.date(to, "termEnd");
    if (!checker.failed() && edition.termEnd < edition.inForceFrom)
        checker.fault(to, "termEnd",
                      "Die Laufzeit endet am " + GermanDate(edition.termEnd) +
                          ", vor ihrem Beginn am " + GermanDate(edition.inForceFrom));
    edition.publisher = ReadPublisher(checker, members.required("publisher"), "publisher");
    edition.introduction = Paragraphs(checker, members.required("introduction"), "introduction");
    edition.yearClassOpening =
        Paragraphs(checker, members.required("yearClassOpening"), "yearClassOpening");
    edition.yearClassSentence =
        checker.sentence(members.required("yearClassSentence"), "yearClassSentence",
                         {Hole::Period, Hole::Low, Hole::High, Hole::Mean},
                         {Hole::Period, Hole::Low, Hole::High, Hole::Mean});
    edition.yearClasses = YearClasses(checker, members.required("yearClasses"), "yearClasses");
    edition.adjustmentsIntroduction =
        Paragraphs(checker, members.required("adjustmentsIntroduction"), "adjustmentsIntroduction");
    ReadSizeSection(checker, members.required("sizeSection"), "sizeSection", edition);
    ReadFeatureSections(checker, members.required("featureSections"), "featureSections", edition);
    ReadFinalCalculation(checker, members.required("finalCalculation"), "finalCalculation",
                         edition);
    edition.closingLines = Paragraphs(checker, members.required("closingLines"), "closingLines");
    edition.information =
        Information(checker, members.required("information"), "information", edition);
    members.finish();
}

EditionReading Refused(std::string fault) {
    EditionReading reading;
    reading.faults.push_back(std::move(fault));
    return reading;
}

} // namespace

std::string EditionReading::message() const {
    std::string all;
    for (const std::string& fault : faults)
        all += (all.empty() ? "" : "\n") + fault;
    return all;
}

EditionReading ReadEdition(std::string_view text, std::string_view file) {
    const std::string named = "\"" + WithVisibleControls(std::string(file)) + "\"";
    if (text.find_first_not_of(" \t\r\n") == std::string_view::npos)
        return Refused(named + ": Die Datei ist leer");
    if (text.size() > kLargestEditionFile)
        return Refused(named +
                       ": Die Datei ist zu groß für eine Ausgabe des Mietspiegels (mehr "
                       "als " +
                       std::to_string(kLargestEditionFile) + " Bytes)");
    if (text.rfind("\xFF\xFE", 0) == 0 || text.rfind("\xFE\xFF", 0) == 0)
        return Refused(named + ": Die Datei ist in UTF-16 kodiert, erwartet wird UTF-8");
    Node root;
    TreeBuilder builder(root);
    JsonReader<TreeBuilder> reader(text, builder);
    if (!reader.readDocument()) {
        const std::size_t byte = reader.faultyByte();
        return Refused(named + ", Zeile " + std::to_string(JsonLineOf(text, byte - 1)) +
                       ": Ungültiges JSON bei Byte " + std::to_string(byte) + ": " +
                       JsonFaultReason(reader.fault()));
    }
    if (builder.tooMany())
        return Refused(named + ": Die Datei hat mehr als " + std::to_string(kMostValues) +
                       " Werte, weit mehr als eine Ausgabe des Mietspiegels");
    Checker checker(text, file);
    if (!reader.isObject()) {
        checker.fault(root, "", "Eine Ausgabe ist ein JSON-Objekt in geschweiften Klammern");
        return {std::nullopt, checker.faults()};
    }
    Edition edition;
    edition.file = std::string(file);
    ReadTop(checker, root, edition);
    if (checker.failed())
        return {std::nullopt, checker.faults()};
    return {std::move(edition), {}};
}

std::string EditionSummary(const Edition& edition) {
    std::size_t features = 0;
    for (const FeatureSectionRow& section : edition.featureSections)
        features += section.features.size();
    return Fill("{}, Stand {}: gilt vom {} bis zum {}. {} Baualtersklassen, {} Größenklassen und "
                "das Appartement, {} Merkmale in {} Abschnitten.",
                {edition.name, edition.stand, GermanDate(edition.inForceFrom),
                 GermanDate(edition.termEnd), std::to_string(edition.yearClasses.size()),
                 std::to_string(edition.sizeClasses.size()), std::to_string(features),
                 std::to_string(edition.featureSections.size())});
}

} // namespace msr
