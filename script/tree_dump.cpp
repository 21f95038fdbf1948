#include "tree_dump.h"

#include "utf.h"

namespace qorin {
namespace {

class Dumper {
 public:
  explicit Dumper(const std::function<void(std::u16string_view)>& out) : out_(out) {}

  void Node(const XScriptNode* node, int depth, std::u16string_view role = {}) {
    if (node == nullptr) return;
    std::u16string line(static_cast<size_t>(depth) * 2, u' ');
    if (!role.empty()) line += std::u16string(role) + u": ";
    line += Describe(*node);
    line += u"  @" + DisplayInt(node->token.line) + u":" + DisplayInt(node->token.column);
    out_(line);
    for (const XScriptNodePtr& param : node->params) Node(param.get(), depth + 1, u"param");
    Node(node->arraySize.get(), depth + 1, u"size");
    Node(node->left.get(), depth + 1);
    Node(node->right.get(), depth + 1);
    for (const XScriptNodePtr& arg : node->args) Node(arg.get(), depth + 1, u"arg");
    Node(node->init.get(), depth + 1, u"init");
    Node(node->condition.get(), depth + 1, u"cond");
    Node(node->step.get(), depth + 1, u"step");
    Node(node->thenStmt.get(), depth + 1, u"then");
    Node(node->elseStmt.get(), depth + 1, u"else");
    for (const XScriptNodePtr& item : node->items) Node(item.get(), depth + 1);
    Node(node->body.get(), depth + 1, u"body");
  }

 private:
  static std::u16string Describe(const XScriptNode& node) {
    std::u16string name(node.name);
    switch (node.kind) {
      case XScriptStmt::Expr:
        if (node.expr == XScriptExpr::Const) return u"Const " + ToDisplay(node.constant);
        return AsciiToUtf16(ExprName(node.expr)) + (name.empty() ? u"" : u" " + name);
      case XScriptStmt::VarDecl:
        return u"VarDecl " + AsciiToUtf16(TypeDisplayName(static_cast<int32_t>(node.decl.type))) +
               u" " + name;
      case XScriptStmt::StructDef: {
        std::u16string text = u"StructDef " + name + u" {";
        for (const XScriptDecl& member : node.structDef.members)
          text += u" " + AsciiToUtf16(TypeDisplayName(static_cast<int32_t>(member.type))) + u" " +
                  std::u16string(member.name) + u";";
        return text + u" }";
      }
      case XScriptStmt::FuncDef: return u"FuncDef " + node.signatureKey;
      case XScriptStmt::Block: return u"Block";
      case XScriptStmt::Return: return u"Return";
      case XScriptStmt::Break: return u"Break";
      case XScriptStmt::If: return u"If";
      case XScriptStmt::For: return u"For";
      default: return u"Empty";
    }
  }

  const std::function<void(std::u16string_view)>& out_;
};

}  // namespace

void DumpTree(const XScriptProgram& program, size_t firstDefinition,
              const std::vector<XScriptNodePtr>& code,
              const std::function<void(std::u16string_view)>& out) {
  Dumper dumper(out);
  for (size_t i = firstDefinition; i < program.definitions.size(); ++i)
    dumper.Node(program.definitions[i].get(), 0);
  for (const XScriptNodePtr& statement : code) dumper.Node(statement.get(), 0);
}

}  // namespace qorin
