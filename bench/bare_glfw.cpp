// The least a 60 Hz GLFW program can do: a 640x480 window that is cleared
// and swapped once per 1/60 s tick, sleeping in between like the game's run
// loop. The reference for the game's CPU use on the same display.
//
//   bare_glfw SECONDS     prints seconds, frames per second and CPU percent
#include <GLFW/glfw3.h>
#include <GL/gl.h>
#include <sys/resource.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>

namespace {

double CpuSeconds() {
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

void SleepSeconds(double s) {
    timespec ts;
    ts.tv_sec = static_cast<time_t>(s);
    ts.tv_nsec = static_cast<long>((s - ts.tv_sec) * 1e9);
    nanosleep(&ts, nullptr);
}

}  // namespace

int main(int argc, char **argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 20.0;
    if (!glfwInit()) return 1;
    glfwWindowHint(GLFW_RESIZABLE, GLFW_TRUE);
    GLFWwindow *window = glfwCreateWindow(640, 480, "Bare GLFW", nullptr, nullptr);
    if (!window) return 1;
    glfwMakeContextCurrent(window);

    const double period = 1.0 / 60.0;
    const double start = glfwGetTime();
    const double cpuStart = CpuSeconds();
    double next = start;
    long frames = 0;
    while (!glfwWindowShouldClose(window) && glfwGetTime() - start < seconds) {
        glfwPollEvents();
        const double delay = next - glfwGetTime();
        if (delay > 0) {
            SleepSeconds(delay);
            continue;
        }
        next += period;
        glClearColor(0.0f, 0.0f, 0.3f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glfwSwapBuffers(window);
        ++frames;
    }
    const double wall = glfwGetTime() - start;
    std::printf("seconds=%.2f frames_per_s=%.2f cpu_percent=%.2f\n", wall, frames / wall,
                100 * (CpuSeconds() - cpuStart) / wall);
    glfwTerminate();
    return 0;
}
