// A tour of the package script language, run with: qorin run samples/scripts/demo.xs
// There are no parenthesised sub-expressions and no while loops: grouping is written with
// variables, loops with for.
struct RECT { int left; int top; int right; int bottom;  };

int Width(RECT r) { return r.right - r.left; }

// Overloads differ by their signature key: Describe@i, Describe@s.
string Describe(int n) { return "int " + n; }
string Describe(string s) { return "string " + s; }

int Factorial(int n) {
  if (n < 2) return 1;
  int rest = Factorial(n - 1);
  return n * rest;
}

// Functions see their caller's variables (dynamic scoping).
string Greeting() { return greeting + ", " + name; }
string Welcome(string name) {
  string greeting = "안녕하세요";
  return Greeting();
}

RECT box;
box.right = 320;
box.bottom = 200;
print("width " + Width(box));
print(Describe(7));
print(Describe("seven"));
print("10! = " + Factorial(10));
print(Welcome("Qorin"));

int squares[5];
int i;
for (i = 0; i < 5; i++) squares[i] = i * i;
string list = "squares:";
for (i = 0; i < 5; i++) list = list + " " + squares[i];
print(list);

double half = 1.0 / 2;
print("half " + half);
print(str2int("  42 apples") + 1);
print(abs(-3));
