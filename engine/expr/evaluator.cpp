// The evaluation loop over a compiled formula, with single values or, in
// vector mode, with vectors.
#include "expr/evaluator.h"

#include <cmath>
#include <cstring>

#include "expr/translator.h"

namespace cx {

namespace {

struct VectorState {
  int length = 0;
  std::vector<int32_t> registers[kMaxRegistros];
  std::vector<int32_t> result;
};

VectorState& vectors() {
  static VectorState v;
  return v;
}

Valor* stack_for(int depth) {
  static std::vector<Valor> stack;
  if (stack.size() < static_cast<std::size_t>(depth)) stack.resize(depth);
  return stack.data();
}

void read_variable(int n, Valor& v) {
  const std::vector<Variable>& table = variables();
  const Variable* var =
      n >= 1 && static_cast<std::size_t>(n) <= table.size() ? &table[n - 1] : nullptr;
  if (var && var->used && tipo_doble(var->type) && var->size >= sizeof(double)) {
    std::memcpy(&v.n, var->value, sizeof v.n);
    v.kind = 0;
    v.text[0] = 0;
    return;
  }
  static Lectura read;
  lea_variable(n, read);
  v.n = read.number;
  v.kind = read.text ? 1 : 0;
  std::memcpy(v.text, read.chars, sizeof v.text);
}

void write_result(const Valor& v, cx_valor_expr& out) {
  out.number = v.n;
  out.vector = 0;
  out.kind = v.kind;
  std::memcpy(out.text, v.text, std::strlen(v.text) + 1);
}

// A stack entry of vector mode: a single value or a vector.
struct Entrada {
  Valor single;
  bool is_vector = false;
  std::vector<int32_t> e;
};

int32_t to_int32(double x) {
  if (!(x == x)) return 0;
  if (x >= 2147483647.0) return INT32_MAX;
  if (x <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(x);
}

void make_vector(Entrada& x, const int32_t* elements, std::size_t count, int length) {
  x.is_vector = true;
  x.e.assign(length, 0);
  for (int i = 0; i < length && static_cast<std::size_t>(i) < count; ++i) x.e[i] = elements[i];
}

Valor element(const Entrada& x, int i) {
  if (!x.is_vector) return x.single;
  Valor v;
  v.n = x.e[i];
  return v;
}

void evalue_vectors(const Programa& p, cx_valor_expr& out) {
  const int length = vectors().length;
  std::vector<Entrada> s(p.depth + 1);
  int top = -1;
  for (const Instr& in : p.code) {
    switch (in.op) {
      case Op::Number: {
        Entrada& x = s[++top];
        x.is_vector = true;
        x.e.assign(length, to_int32(in.number));
        break;
      }
      case Op::Text: {
        Entrada& x = s[++top];
        x.is_vector = false;
        x.single = Valor{};
        std::memcpy(x.single.text, p.texts[in.index].c_str(), p.texts[in.index].size() + 1);
        x.single.kind = 1;
        x.single.n = in.number;
        break;
      }
      case Op::Variable: {
        Entrada& x = s[++top];
        std::size_t count;
        if (const int32_t* e = vector_de_variable(in.index, &count)) {
          make_vector(x, e, count, length);
        } else {
          x.is_vector = false;
          read_variable(in.index, x.single);
        }
        break;
      }
      case Op::Register: {
        const auto& r = vectors().registers[in.index - 1];
        make_vector(s[++top], r.data(), r.size(), length);
        break;
      }
      case Op::Call: {
        const int argc = kTablaFunciones[in.function].args;
        top -= argc - 1;
        Entrada* a = &s[top];
        bool any = false;
        for (int k = 0; k < argc; ++k) any = any || a[k].is_vector;
        if (!any) {
          Valor args[3] = {a[0].single, argc > 1 ? a[1].single : Valor{},
                           argc > 2 ? a[2].single : Valor{}};
          llame(in.function, args, a[0].single);
          break;
        }
        std::vector<int32_t> r(length);
        for (int i = 0; i < length; ++i) {
          Valor args[3];
          for (int k = 0; k < argc; ++k) args[k] = element(a[k], i);
          Valor v;
          llame(in.function, args, v);
          r[i] = to_int32(v.n);
        }
        a[0].is_vector = true;
        a[0].e = std::move(r);
        break;
      }
      default: {
        Entrada& a = s[top - 1];
        const Entrada& b = s[top];
        --top;
        if (!a.is_vector && !b.is_vector) {
          aplique(in.op, a.single, b.single);
          break;
        }
        std::vector<int32_t> r(length);
        for (int i = 0; i < length; ++i) {
          Valor x = element(a, i);
          aplique(in.op, x, element(b, i));
          r[i] = to_int32(x.n);
        }
        a.is_vector = true;
        a.e = std::move(r);
      }
    }
  }
  const Entrada& r = s[0];
  if (!r.is_vector) {
    write_result(r.single, out);
    return;
  }
  vectors().result = r.e;
  Valor first;
  first.n = r.e.empty() ? 0 : r.e[0];
  write_result(first, out);
  out.vector = 1;
}

}  // namespace

void evalue(const Programa& p, cx_valor_expr& out) {
  vectors().result.clear();
  if (p.code.empty()) {
    write_result(Valor{}, out);
    return;
  }
  if (vectors().length > 0) {
    evalue_vectors(p, out);
    return;
  }
  Valor* s = stack_for(p.depth);
  int top = -1;
  for (const Instr& in : p.code) {
    switch (in.op) {
      case Op::Number: {
        Valor& v = s[++top];
        v.n = in.number;
        v.kind = 0;
        v.text[0] = 0;
        break;
      }
      case Op::Text: {
        Valor& v = s[++top];
        std::memcpy(v.text, p.texts[in.index].c_str(), p.texts[in.index].size() + 1);
        v.kind = 1;
        v.n = in.number;
        break;
      }
      case Op::Variable:
        read_variable(in.index, s[++top]);
        break;
      case Op::Register:
        s[++top] = registro(in.index);
        break;
      case Op::Call: {
        top -= kTablaFunciones[in.function].args - 1;
        llame(in.function, &s[top], s[top]);
        break;
      }
      default: {
        Valor& a = s[top - 1];
        const Valor& b = s[--top + 1];
        if (a.kind | b.kind) {
          aplique(in.op, a, b);
          break;
        }
        // Numbers: the common operators without the general path.
        a.text[0] = 0;
        switch (in.op) {
          case Op::Add:
            a.n += b.n;
            break;
          case Op::Sub:
            a.n -= b.n;
            break;
          case Op::Mul:
            a.n *= b.n;
            break;
          case Op::Div:
            a.n = b.n == 0 ? 0 : a.n / b.n;
            break;
          default:
            aplique(in.op, a, b);
        }
      }
    }
  }
  write_result(s[0], out);
}

Valor& registro(int n) {
  static Valor registers[kMaxRegistros];
  static Valor none;
  if (n < 1 || n > kMaxRegistros) return none = Valor{};
  return registers[n - 1];
}

void fije_longitud_vector(int length) {
  vectors().length = length > 0 ? length : 0;
}

int longitud_vector() {
  return vectors().length;
}

std::vector<int32_t>& vector_registro(int n) {
  static std::vector<int32_t> none;
  if (n < 1 || n > kMaxRegistros) return none;
  return vectors().registers[n - 1];
}

const std::vector<int32_t>& vector_resultado() {
  return vectors().result;
}

}  // namespace cx
