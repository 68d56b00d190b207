// Entry point. The screens are put together by Application, which arrives
// with the menu, level and credits screens; until then the binary only
// builds and links the engine.
int main() {
    return 0;
}
