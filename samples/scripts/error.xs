int total = 0;
int i;
for (i = 0; i < 3; i++) total += i;
print(total);
total = totl + 1;
