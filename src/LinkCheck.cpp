// The program of the layer link checks (see CMakeLists.txt): it does nothing;
// what matters is that it links.
int main() {
    return 0;
}
