#include "framework/DataSetFilter.h"

#include <cctype>
#include <string>
#include <utility>
#include <vector>

#include "framework/DataSetValues.h"
#include "framework/DateFormat.h"
#include "framework/Exceptions.h"
#include "framework/Text.h"

namespace orb::fw::dataset {

namespace {

enum class TokenKind { Name, Text, Number, LParen, RParen, Op, End };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;  // the name, the text constant, the number as written, or the operator
    std::size_t pos = 0;
};

enum class CompareOp { Eq, Ne, Lt, Gt, Le, Ge };

bool IsNameStart(unsigned char c) { return std::isalpha(c) || c == '_' || c >= 0x80; }
bool IsNameChar(unsigned char c) { return std::isalnum(c) || c == '_' || c >= 0x80; }

}  // namespace

struct DataSetFilter::Node {
    enum class Kind { And, Or, Not, Compare, IsNull } kind = Kind::Compare;
    // And and Or hold every operand of a chain side by side (a chain of thousands stays one level
    // deep); Not holds one.
    std::vector<std::unique_ptr<Node>> parts;

    struct Operand {
        enum class Kind { Field, Text, Number, Bool } kind = Kind::Text;
        std::string text;   // field name or text constant
        double number = 0;  // number or boolean constant (1/0); also a converted text constant
        int field = -1;     // bound field index
        FieldType fieldType = FieldType::String;
    };
    CompareOp op = CompareOp::Eq;
    Operand a, b;         // Compare; IsNull uses a
    bool negate = false;  // IS NOT NULL
    bool textMode = false;
};

namespace {

using Node = DataSetFilter::Node;
using Operand = Node::Operand;

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) { Advance(); }

    std::unique_ptr<Node> ParseAll() {
        auto node = ParseOr();
        if (tok_.kind != TokenKind::End) Fail("unexpected '" + tok_.text + "'");
        return node;
    }

private:
    // Parentheses and NOTs within each other: each level is a level of recursion here and when
    // the filter is bound and evaluated, so a host's text cannot take the stack.
    static constexpr int kMaxNesting = 200;
    struct Nesting {
        explicit Nesting(Parser& p) : parser(p) {
            if (++parser.nesting_ > kMaxNesting)
                parser.Fail("more than " + std::to_string(kMaxNesting) + " parentheses or NOTs within each other");
        }
        ~Nesting() { --parser.nesting_; }
        Parser& parser;
    };
    int nesting_ = 0;

    [[noreturn]] void Fail(const std::string& what) const {
        throw EDatabaseError("Invalid filter expression \"" + std::string(text_) + "\": " + what + " at position " +
                             std::to_string(tok_.pos + 1));
    }

    bool IsKeyword(const char* word) const { return tok_.kind == TokenKind::Name && SameText(tok_.text, word); }

    void Advance() {
        while (i_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[i_]))) ++i_;
        tok_ = Token{};
        tok_.pos = i_;
        if (i_ >= text_.size()) return;
        const unsigned char c = static_cast<unsigned char>(text_[i_]);
        if (c == '\'') {
            std::string value;
            ++i_;
            for (;;) {
                if (i_ >= text_.size()) Fail("unterminated text");
                if (text_[i_] == '\'') {
                    if (i_ + 1 < text_.size() && text_[i_ + 1] == '\'') {
                        value += '\'';
                        i_ += 2;
                        continue;
                    }
                    ++i_;
                    break;
                }
                value += text_[i_++];
            }
            tok_.kind = TokenKind::Text;
            tok_.text = std::move(value);
        } else if (c == '[' || c == '"') {
            const char close = c == '[' ? ']' : '"';
            std::size_t end = text_.find(close, i_ + 1);
            if (end == std::string_view::npos) Fail("unterminated field name");
            tok_.kind = TokenKind::Name;
            tok_.text = std::string(text_.substr(i_ + 1, end - i_ - 1));
            i_ = end + 1;
            quotedName_ = true;
            return;
        } else if (std::isdigit(c) ||
                   (c == '.' && i_ + 1 < text_.size() && std::isdigit(static_cast<unsigned char>(text_[i_ + 1])))) {
            std::size_t start = i_;
            while (i_ < text_.size() && (std::isdigit(static_cast<unsigned char>(text_[i_])) || text_[i_] == '.')) ++i_;
            tok_.kind = TokenKind::Number;
            tok_.text = std::string(text_.substr(start, i_ - start));
        } else if (IsNameStart(c)) {
            std::size_t start = i_;
            while (i_ < text_.size() && IsNameChar(static_cast<unsigned char>(text_[i_]))) ++i_;
            tok_.kind = TokenKind::Name;
            tok_.text = std::string(text_.substr(start, i_ - start));
        } else if (c == '(' || c == ')') {
            tok_.kind = c == '(' ? TokenKind::LParen : TokenKind::RParen;
            tok_.text = std::string(1, static_cast<char>(c));
            ++i_;
        } else if (c == '=' || c == '<' || c == '>' || c == '!' || c == '-' || c == '+') {
            std::string op(1, static_cast<char>(c));
            ++i_;
            if (i_ < text_.size() && (c == '<' || c == '>' || c == '!') &&
                (text_[i_] == '=' || (c == '<' && text_[i_] == '>'))) {
                op += text_[i_++];
            }
            tok_.kind = TokenKind::Op;
            tok_.text = std::move(op);
        } else {
            tok_.text = std::string(1, static_cast<char>(c));
            Fail("unexpected character '" + tok_.text + "'");
        }
        quotedName_ = false;
    }

    std::unique_ptr<Node> ParseOr() { return ParseChain("OR", Node::Kind::Or, &Parser::ParseAnd); }
    std::unique_ptr<Node> ParseAnd() { return ParseChain("AND", Node::Kind::And, &Parser::ParseNot); }

    std::unique_ptr<Node> ParseChain(const char* keyword, Node::Kind kind, std::unique_ptr<Node> (Parser::*operand)()) {
        auto first = (this->*operand)();
        if (!IsKeyword(keyword)) return first;
        auto node = std::make_unique<Node>();
        node->kind = kind;
        node->parts.push_back(std::move(first));
        while (IsKeyword(keyword)) {
            Advance();
            node->parts.push_back((this->*operand)());
        }
        return node;
    }

    std::unique_ptr<Node> ParseNot() {
        if (IsKeyword("NOT")) {
            Advance();
            const Nesting nested(*this);
            auto node = std::make_unique<Node>();
            node->kind = Node::Kind::Not;
            node->parts.push_back(ParseNot());
            return node;
        }
        return ParsePrimary();
    }

    std::unique_ptr<Node> ParsePrimary() {
        if (tok_.kind == TokenKind::LParen) {
            Advance();
            const Nesting nested(*this);
            auto node = ParseOr();
            if (tok_.kind != TokenKind::RParen) Fail(tok_.kind == TokenKind::End ? "missing ')'" : "expected ')'");
            Advance();
            return node;
        }
        auto node = std::make_unique<Node>();
        bool nullOperand = false;
        node->a = ParseOperand(nullOperand);
        if (nullOperand) Fail("NULL must follow IS");
        if (IsKeyword("IS")) {
            Advance();
            node->kind = Node::Kind::IsNull;
            if (IsKeyword("NOT")) {
                node->negate = true;
                Advance();
            }
            if (!IsKeyword("NULL")) Fail("expected NULL");
            Advance();
            return node;
        }
        if (tok_.kind != TokenKind::Op)
            Fail(tok_.kind == TokenKind::End ? "missing comparison" : "expected a comparison");
        const std::string op = tok_.text;
        if (op == "=")
            node->op = CompareOp::Eq;
        else if (op == "<>" || op == "!=")
            node->op = CompareOp::Ne;
        else if (op == "<")
            node->op = CompareOp::Lt;
        else if (op == ">")
            node->op = CompareOp::Gt;
        else if (op == "<=")
            node->op = CompareOp::Le;
        else if (op == ">=")
            node->op = CompareOp::Ge;
        else
            Fail("unexpected '" + op + "'");
        Advance();
        node->b = ParseOperand(nullOperand);
        if (nullOperand) {
            // "X = NULL" and "X <> NULL" read as the IS forms; an ordering against NULL is an error.
            if (node->op != CompareOp::Eq && node->op != CompareOp::Ne) Fail("NULL cannot be ordered");
            node->kind = Node::Kind::IsNull;
            node->negate = node->op == CompareOp::Ne;
        }
        return node;
    }

    Operand ParseOperand(bool& isNull) {
        isNull = false;
        Operand operand;
        bool negative = false;
        if (tok_.kind == TokenKind::Op && (tok_.text == "-" || tok_.text == "+")) {
            negative = tok_.text == "-";
            Advance();
            if (tok_.kind != TokenKind::Number) Fail("expected a number");
        }
        switch (tok_.kind) {
            case TokenKind::Text:
                operand.kind = Operand::Kind::Text;
                operand.text = tok_.text;
                break;
            case TokenKind::Number: {
                double value = 0;
                if (!NumericValue(Variant(tok_.text), value) || tok_.text.find('.') != tok_.text.rfind('.'))
                    Fail("bad number '" + tok_.text + "'");
                operand.kind = Operand::Kind::Number;
                operand.number = negative ? -value : value;
                operand.text = tok_.text;
                break;
            }
            case TokenKind::Name:
                if (!quotedName_ && SameText(tok_.text, "NULL")) {
                    isNull = true;
                    break;
                }
                if (!quotedName_ && (SameText(tok_.text, "TRUE") || SameText(tok_.text, "FALSE"))) {
                    operand.kind = Operand::Kind::Bool;
                    operand.number = SameText(tok_.text, "TRUE") ? 1 : 0;
                    operand.text = tok_.text;
                    break;
                }
                if (!quotedName_ && (SameText(tok_.text, "AND") || SameText(tok_.text, "OR") ||
                                     SameText(tok_.text, "NOT") || SameText(tok_.text, "IS"))) {
                    Fail("unexpected '" + tok_.text + "'");
                }
                operand.kind = Operand::Kind::Field;
                operand.text = tok_.text;
                break;
            case TokenKind::End:
                Fail("expression ends too soon");
            default:
                Fail("unexpected '" + tok_.text + "'");
        }
        Advance();
        return operand;
    }

    std::string_view text_;
    std::size_t i_ = 0;
    Token tok_;
    bool quotedName_ = false;
};

bool IsTextual(const Operand& o) {
    return o.kind == Operand::Kind::Text || (o.kind == Operand::Kind::Field && o.fieldType == FieldType::String);
}

// A text constant compared with a number, date or boolean field takes that field's type once,
// at binding, so a constant that cannot is reported instead of silently matching nothing.
void ConvertConstant(Operand& constant, const Operand& other, const std::string& expression) {
    if (constant.kind != Operand::Kind::Text) return;
    double value = 0;
    bool ok = false;
    if (other.kind == Operand::Kind::Field &&
        (other.fieldType == FieldType::Date || other.fieldType == FieldType::DateTime)) {
        TDateTime moment;
        ok = TryStrToDateTime(constant.text, moment);
        value = moment.value;
        if (ok && other.fieldType == FieldType::Date) value = DateOf(moment).value;
    } else if (other.kind == Operand::Kind::Field && other.fieldType == FieldType::Boolean) {
        if (SameText(Trim(constant.text), "True")) {
            value = 1;
            ok = true;
        } else if (SameText(Trim(constant.text), "False")) {
            value = 0;
            ok = true;
        } else
            ok = NumericValue(Variant(constant.text), value);
    } else {
        ok = NumericValue(Variant(constant.text), value);
    }
    if (!ok) {
        throw EDatabaseError("Type mismatch in filter expression \"" + expression + "\": '" + constant.text +
                             "' compared with " +
                             (other.kind == Operand::Kind::Field ? "field '" + other.text + "'" : "a number"));
    }
    constant.kind = Operand::Kind::Number;
    constant.number = value;
}

void BindOperand(Operand& o, const std::vector<FieldDef>& defs) {
    if (o.kind != Operand::Kind::Field) return;
    o.field = FindFieldIndex(defs, o.text);
    if (o.field < 0) ThrowFieldNotFound(o.text);
    o.fieldType = defs[static_cast<std::size_t>(o.field)].type;
}

void BindNode(Node& node, const std::vector<FieldDef>& defs, const std::string& expression) {
    switch (node.kind) {
        case Node::Kind::And:
        case Node::Kind::Or:
        case Node::Kind::Not:
            for (const auto& part : node.parts) BindNode(*part, defs, expression);
            return;
        case Node::Kind::IsNull:
            BindOperand(node.a, defs);
            return;
        case Node::Kind::Compare:
            BindOperand(node.a, defs);
            BindOperand(node.b, defs);
            node.textMode = IsTextual(node.a) && IsTextual(node.b);
            if (!node.textMode) {
                ConvertConstant(node.a, node.b, expression);
                ConvertConstant(node.b, node.a, expression);
            }
            return;
    }
}

// The operand's value for this row; false when it is null or, compared as a number, does not read as one.
bool OperandNumber(const Operand& o, const std::vector<Variant>& row, double& out) {
    if (o.kind != Operand::Kind::Field) {
        out = o.number;
        return true;
    }
    const Variant& v = row[static_cast<std::size_t>(o.field)];
    if (v.IsEmptyOrNull()) return false;
    return NumericValue(v, out);
}

const std::string* OperandText(const Operand& o, const std::vector<Variant>& row) {
    if (o.kind != Operand::Kind::Field) return &o.text;
    const Variant& v = row[static_cast<std::size_t>(o.field)];
    if (v.Type() != VarType::Text) return nullptr;  // null
    return &v.AsTextRaw();
}

bool Holds(CompareOp op, int c) {
    switch (op) {
        case CompareOp::Eq:
            return c == 0;
        case CompareOp::Ne:
            return c != 0;
        case CompareOp::Lt:
            return c < 0;
        case CompareOp::Gt:
            return c > 0;
        case CompareOp::Le:
            return c <= 0;
        case CompareOp::Ge:
            return c >= 0;
    }
    return false;
}

bool Evaluate(const Node& node, const std::vector<Variant>& row) {
    switch (node.kind) {
        case Node::Kind::And:
            for (const auto& part : node.parts)
                if (!Evaluate(*part, row)) return false;
            return true;
        case Node::Kind::Or:
            for (const auto& part : node.parts)
                if (Evaluate(*part, row)) return true;
            return false;
        case Node::Kind::Not:
            return !Evaluate(*node.parts[0], row);
        case Node::Kind::IsNull: {
            bool isNull =
                node.a.kind == Operand::Kind::Field && row[static_cast<std::size_t>(node.a.field)].IsEmptyOrNull();
            return isNull != node.negate;
        }
        case Node::Kind::Compare:
            if (node.textMode) {
                const std::string* x = OperandText(node.a, row);
                const std::string* y = OperandText(node.b, row);
                if (!x || !y) return false;
                const int c = x->compare(*y);
                return Holds(node.op, c < 0 ? -1 : (c > 0 ? 1 : 0));
            } else {
                double x = 0, y = 0;
                if (!OperandNumber(node.a, row, x) || !OperandNumber(node.b, row, y)) return false;
                return Holds(node.op, x < y ? -1 : (y < x ? 1 : 0));
            }
    }
    return false;
}

}  // namespace

DataSetFilter::DataSetFilter(std::string_view expression) : expression_(expression) {
    root_ = Parser(expression_).ParseAll();
}

DataSetFilter::~DataSetFilter() = default;
DataSetFilter::DataSetFilter(DataSetFilter&&) noexcept = default;
DataSetFilter& DataSetFilter::operator=(DataSetFilter&&) noexcept = default;

void DataSetFilter::Bind(const std::vector<FieldDef>& defs) { BindNode(*root_, defs, expression_); }

bool DataSetFilter::Matches(const std::vector<Variant>& row) const { return Evaluate(*root_, row); }

}  // namespace orb::fw::dataset
