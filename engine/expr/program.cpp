// From pseudo-code to a postfix program: operator precedence with the
// classes low (+ - ! | & ~ :), high (* / % # < = >), power (^, to the
// right) and keep (@), and brackets that close functions.
#include "expr/program.h"

#include <cstdlib>
#include <cstring>

#include "expr/translator.h"

namespace cx {

namespace {

struct Pending {
  char op;       // an operator character, or '(' for a bracket
  int function;  // of a bracket: -1 plain
  int commas;
};

int precedence(char c) {
  switch (c) {
    case '+':
    case '-':
    case '!':
    case '|':
    case '&':
    case '~':
    case ':':
      return 1;
    case '*':
    case '/':
    case '%':
    case '#':
    case '<':
    case '=':
    case '>':
      return 2;
    case '^':
      return 3;
    case '@':
      return 4;
    default:
      return 0;
  }
}

Op operation(char c) {
  switch (c) {
    case '+':
      return Op::Add;
    case '-':
      return Op::Sub;
    case '*':
      return Op::Mul;
    case '/':
      return Op::Div;
    case '%':
      return Op::Percent;
    case '^':
      return Op::Power;
    case '=':
      return Op::Equal;
    case '#':
      return Op::NotEqual;
    case '<':
      return Op::AtMost;
    case '>':
      return Op::AtLeast;
    case '&':
      return Op::And;
    case '!':
    case '|':
      return Op::Or;
    case '~':
      return Op::AndNot;
    case ':':
      return Op::Cut;
    default:
      return Op::Keep;
  }
}

// The number of a four-character operand code: up to three digits, then
// blanks.
bool code_number(const char* p, int& n) {
  n = 0;
  int digits = 0;
  for (int i = 1; i < 4; ++i) {
    if (p[i] >= '0' && p[i] <= '9' && digits == i - 1) {
      n = n * 10 + (p[i] - '0');
      ++digits;
    } else if (p[i] != ' ') {
      return false;
    }
  }
  return digits > 0;
}

class Compiler {
 public:
  explicit Compiler(Programa& out) : out_(out) {}

  bool run(const char* p) {
    bool operand = true;
    int function = -1;
    for (; *p;) {
      const char c = *p;
      if (std::strchr("KAFVR", c)) {
        if (!operand || std::strlen(p) < 4) return false;
        int n;
        if (!code_number(p, n)) return false;
        p += 4;
        if (c == 'F') {
          if (n >= kFunciones || *p != '(') return false;
          function = n;
          continue;
        }
        if (!push_value(c, n)) return false;
        operand = false;
      } else if (c == '(') {
        if (!operand) return false;
        pending_.push_back({'(', function, 0});
        function = -1;
        ++p;
        note_entries();
      } else if (c == ',' || c == ')') {
        if (operand) return false;
        reduce_to_bracket();
        if (pending_.empty()) return false;
        if (c == ',') {
          ++pending_.back().commas;
          operand = true;
        } else if (!close_bracket()) {
          return false;
        }
        ++p;
      } else if (precedence(c)) {
        if (operand) return false;
        const int prec = precedence(c);
        while (!pending_.empty() && pending_.back().op != '(') {
          const int top = precedence(pending_.back().op);
          if (top < prec || (top == prec && prec == 3)) break;
          emit_operator(pending_.back().op);
          pending_.pop_back();
        }
        pending_.push_back({c, -1, 0});
        note_entries();
        operand = true;
        ++p;
      } else {
        ++p;  // anything else is skipped
      }
    }
    if (operand) return false;
    reduce_to_bracket();
    return pending_.empty() && depth_ == 1;
  }

 private:
  bool push_value(char c, int n) {
    Instr in{};
    in.index = static_cast<int16_t>(n);
    switch (c) {
      case 'K':
        in.op = Op::Number;
        in.number = constante(n);
        break;
      case 'A':
        in.op = Op::Text;
        in.index = static_cast<int16_t>(out_.texts.size());
        out_.texts.emplace_back(constante_texto(n));
        in.number = std::atof(out_.texts.back().c_str());
        break;
      case 'V':
        in.op = Op::Variable;
        break;
      default:
        if (n < 1 || n > kMaxRegistros) return false;
        in.op = Op::Register;
    }
    out_.code.push_back(in);
    grow(1);
    return true;
  }

  void emit_operator(char c) {
    Instr in{};
    in.op = operation(c);
    out_.code.push_back(in);
    grow(-1);
  }

  void reduce_to_bracket() {
    while (!pending_.empty() && pending_.back().op != '(') {
      emit_operator(pending_.back().op);
      pending_.pop_back();
    }
  }

  bool close_bracket() {
    const Pending b = pending_.back();
    pending_.pop_back();
    if (b.function < 0) return b.commas == 0;
    if (b.commas + 1 != kTablaFunciones[b.function].args) return false;
    Instr in{};
    in.op = Op::Call;
    in.function = static_cast<uint8_t>(b.function);
    out_.code.push_back(in);
    grow(-b.commas);
    return true;
  }

  void grow(int by) {
    depth_ += by;
    if (depth_ > out_.depth) out_.depth = depth_;
    note_entries();
  }
  void note_entries() {
    const int entries = depth_ + static_cast<int>(pending_.size());
    if (entries > out_.entries) out_.entries = entries;
  }

  Programa& out_;
  std::vector<Pending> pending_;
  int depth_ = 0;
};

}  // namespace

bool compile(const char* pseudo, Programa& out) {
  out = Programa{};
  if (!pseudo) return false;
  return Compiler(out).run(pseudo);
}

}  // namespace cx
