import sys
print("check pending")
